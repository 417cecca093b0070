# The scan policy document and the file-type scope.
discovery_add_test(NAME tst_scanpolicy SOURCES tst_scanpolicy.cpp LIBS discoveryclient)
discovery_add_test(NAME tst_filetypescope SOURCES tst_filetypescope.cpp LIBS discoveryclient)
