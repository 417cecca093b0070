# The main window's scan controllers against the fake scan service: the
# keyword scan, the privacy scan, the choice of scan target and the close flow.
discovery_add_test(NAME tst_keywordscan SOURCES tst_keywordscan.cpp scancontrollertest.h LIBS discoveryclient checklistfixture)
discovery_add_test(NAME tst_privacyscan SOURCES tst_privacyscan.cpp scancontrollertest.h LIBS discoveryclient)
discovery_add_test(NAME tst_scantarget SOURCES tst_scantarget.cpp scancontrollertest.h LIBS discoveryclient)
discovery_add_test(NAME tst_closeflow SOURCES tst_closeflow.cpp scancontrollertest.h LIBS discoveryclient)
# A module's scan task state machine, without a window or a bus.
discovery_add_test(NAME tst_scancontroller SOURCES tst_scancontroller.cpp LIBS discoveryclient)
# The ended pages' export and files not read, per module.
discovery_add_test(NAME tst_endedpages SOURCES tst_endedpages.cpp scancontrollertest.h LIBS discoveryclient checklistfixture)
