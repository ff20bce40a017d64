# NG-word detection: the word-by-word rule against the one-pass detector.
#   ./bench/detection_bench
velkor_executable(detection_bench SOURCES DetectionBench.cpp LIBS velkor_mail benchmark::benchmark)
target_include_directories(detection_bench PRIVATE ${VELKOR_ROOT}/tests)
