# Scan configuration: the keyword checklist store, the keyword panel and its
# checklist tab. checklistfixture (tests/tools) makes their databases.
discovery_add_test(NAME tst_keywordtemplatestore SOURCES tst_keywordtemplatestore.cpp LIBS clientconfig checklistfixture)
discovery_add_test(NAME tst_keywordconfigallinonewidget SOURCES tst_keywordconfigallinonewidget.cpp LIBS clientconfig clientwidgets checklistfixture)
discovery_add_test(NAME tst_keywordtemplatetab SOURCES tst_keywordtemplatetab.cpp LIBS clientconfig clientwidgets checklistfixture)
