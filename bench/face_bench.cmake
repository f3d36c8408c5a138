# Cost of one tick's face steps. Included from bench/CMakeLists.txt.
find_package(benchmark REQUIRED)
add_executable(face_bench ${CMAKE_CURRENT_LIST_DIR}/face_bench.cpp)
target_link_libraries(face_bench PRIVATE face benchmark::benchmark)
