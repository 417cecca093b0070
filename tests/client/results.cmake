# Result views: marking hits in their passages, the keyword result row, the
# keyword and privacy detail dialogs (fake scan service, private bus, the
# real MainWindow as the owner of the service proxy).
discovery_add_test(NAME tst_highlightsensitive SOURCES tst_highlightsensitive.cpp LIBS discoveryclient)
# The keyword result list: rows kept as data, widgets for the rows in view.
discovery_add_test(NAME tst_keywordresultlist SOURCES tst_keywordresultlist.cpp LIBS discoveryclient)
discovery_add_test(NAME tst_keywordsensitiveframe SOURCES tst_keywordsensitiveframe.cpp LIBS discoveryclient)
discovery_add_test(NAME tst_keywordsensitivedetail SOURCES tst_keywordsensitivedetail.cpp LIBS discoveryclient)
discovery_add_test(NAME tst_piisensitivedetail SOURCES tst_piisensitivedetail.cpp LIBS discoveryclient)
