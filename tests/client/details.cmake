# The detail documents: the parsers of the three record levels and the
# handling of a detail query's reply (fake scan service, private bus).
discovery_add_test(NAME tst_detaildocuments SOURCES tst_detaildocuments.cpp LIBS clientservice)
