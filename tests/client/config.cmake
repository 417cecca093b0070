# Scan configuration: the keyword checklist store, the keyword panel and its checklist tab.
discovery_add_test(NAME tst_keywordtemplatestore SOURCES tst_keywordtemplatestore.cpp LIBS clientconfig OpenSSL::Crypto)
target_compile_definitions(tst_keywordtemplatestore PRIVATE KWTEMPLATE_IMPORT="$<TARGET_FILE:kwtemplate-import>")
add_dependencies(tst_keywordtemplatestore kwtemplate-import)
