# Result views: marking hits in their passages, the keyword result row, the
# keyword and privacy detail dialogs (fake scan service, private bus, a
# service proxy of the test's own).
discovery_add_test(NAME tst_highlightsensitive SOURCES tst_highlightsensitive.cpp LIBS clientresults)
# Passages cut around their hits for rows and tooltips.
discovery_add_test(NAME tst_passagecut SOURCES tst_passagecut.cpp LIBS clientresults)
# The keyword result list: rows kept as data, widgets for the rows in view.
discovery_add_test(NAME tst_keywordresultlist SOURCES tst_keywordresultlist.cpp LIBS clientresults)
discovery_add_test(NAME tst_keywordsensitiveframe SOURCES tst_keywordsensitiveframe.cpp LIBS clientresults)
# The menu of a hit's file: the path copied, its folder (never the document) shown.
discovery_add_test(NAME tst_hitfilemenu SOURCES tst_hitfilemenu.cpp LIBS clientresults)
discovery_add_test(NAME tst_keywordsensitivedetail SOURCES tst_keywordsensitivedetail.cpp LIBS clientresults)
discovery_add_test(NAME tst_piisensitivedetail SOURCES tst_piisensitivedetail.cpp LIBS clientresults)
# The result models without widgets.
discovery_add_test(NAME tst_resultmodels SOURCES tst_resultmodels.cpp LIBS clientresults)
# The export of a run: save dialog, descriptor passed, success and failure.
discovery_add_test(NAME tst_runexporter SOURCES tst_runexporter.cpp LIBS clientresults)
# The count of the files a run did not read, and their list.
discovery_add_test(NAME tst_filesnotreadlink SOURCES tst_filesnotreadlink.cpp LIBS clientresults)
