# The scan service's broadcast signals and their filtering by path list.
discovery_add_test(NAME tst_signalreceiver SOURCES tst_signalreceiver.cpp LIBS discoveryclient)
discovery_add_test(NAME tst_signalsubscription SOURCES tst_signalsubscription.cpp LIBS discoveryclient)
