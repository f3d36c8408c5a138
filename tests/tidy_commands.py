# The compile commands of a build as clang-tidy takes them, written to another folder: each
# precompiled header that GCC makes for a target is made anew there as clang's, with the
# target's own flags and the extra ones given, and the commands include that instead.
#   tidy_commands.py BUILD FOLDER [EXTRA_ARG...]

import json
import shlex
import subprocess
import sys

build, folder, extra = sys.argv[1], sys.argv[2], sys.argv[3:]
commands, made = json.load(open(f"{build}/compile_commands.json")), {}
for command in commands:
    words = [w for w in shlex.split(command["command"]) if w != "-Winvalid-pch"]
    at = words.index("-include") if "-include" in words else -1
    if at < 0 or not words[at + 1].endswith("cmake_pch.hxx"):
        continue
    header = words.pop(at + 1)
    if header not in made:
        made[header] = f"{folder}/{len(made)}.pch"
        flags = [w for w in words[1:at] + words[at + 1 :] if w not in ("-c", "-Werror")]
        for option in ("-o", "-MT", "-MF"):  # with what follows them
            while option in flags:
                del flags[flags.index(option) : flags.index(option) + 2]
        flags = [w for w in flags if w not in ("-MD", command["file"])]
        quiet = ["-Wno-unknown-warning-option", "-Wno-pragma-system-header-outside-header"]
        make = ["clang++", *flags, *extra, *quiet, "-x", "c++-header", header, "-o", made[header]]
        subprocess.run(make, cwd=command["directory"], check=True)
    words[at] = "-include-pch"
    words.insert(at + 1, made[header])
    command["command"] = shlex.join(words)
json.dump(commands, open(f"{folder}/compile_commands.json", "w"))
