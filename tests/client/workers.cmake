# The scan's worker threads: elapsed time and the task's file total.
discovery_add_test(NAME tst_timerthread SOURCES tst_timerthread.cpp LIBS clientworkers)
discovery_add_test(NAME tst_filecountthread SOURCES tst_filecountthread.cpp LIBS clientworkers)
