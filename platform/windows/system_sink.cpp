#include "platform/windows/system_sink.h"

#include <windows.h>

namespace platform {
namespace {

class MessageBeepSink final : public Sink {
public:
    bool play() override { return MessageBeep(MB_OK) != FALSE; }
};

} // namespace

std::unique_ptr<Sink> makeSystemSink() { return std::make_unique<MessageBeepSink>(); }

} // namespace platform
