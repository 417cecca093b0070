# Privacy result groups: the category table, the group frames and their tiles.
discovery_add_test(NAME tst_piiscangroup SOURCES tst_piiscangroup.cpp LIBS clientresults)
