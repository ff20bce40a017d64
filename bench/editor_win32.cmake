# The editor window timed in-process under Wine (bench/editor-bench.sh runs it).
velkor_executable(editor_bench SOURCES EditorBench_win32.cpp EditorBenchData.h EditorBenchData.cpp
  LIBS velkor_editor_win32 velkor_res_velkor)
