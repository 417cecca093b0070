# The client's own widgets, layouts and delegates, and the compiled-in pictures.
discovery_add_test(NAME tst_flowlayout SOURCES tst_flowlayout.cpp LIBS clientwidgets)
discovery_add_test(NAME tst_fixlabel SOURCES tst_fixlabel.cpp LIBS clientwidgets)
discovery_add_test(NAME tst_removablebutton SOURCES tst_removablebutton.cpp LIBS clientwidgets)
discovery_add_test(NAME tst_headercheckbox SOURCES tst_headercheckbox.cpp LIBS clientwidgets)
discovery_add_test(NAME tst_centercheckboxdelegate SOURCES tst_centercheckboxdelegate.cpp LIBS clientwidgets)
discovery_add_test(NAME tst_underlinetabwidget SOURCES tst_underlinetabwidget.cpp LIBS clientwidgets)
discovery_add_test(NAME tst_titlebarbutton SOURCES tst_titlebarbutton.cpp LIBS clientwidgets)
discovery_add_test(NAME tst_hiddencombobox SOURCES tst_hiddencombobox.cpp LIBS clientwidgets)
discovery_add_test(NAME tst_leftsiderbaritembutton SOURCES tst_leftsiderbaritembutton.cpp LIBS clientwidgets)
# The sidebar with the desktop's schema (the build's compiled copy) and without any.
discovery_add_test(NAME tst_leftsiderbarwidget SOURCES tst_leftsiderbarwidget.cpp
                   LIBS clientwidgets PkgConfig::GSETTINGS_QT)
target_compile_definitions(tst_leftsiderbarwidget PRIVATE WITH_SCHEMA)
add_dependencies(tst_leftsiderbarwidget discovery_gschemas)
discovery_add_test(NAME tst_leftsiderbarwidget_noschema SOURCES tst_leftsiderbarwidget.cpp
                   LIBS clientwidgets PkgConfig::GSETTINGS_QT)
discovery_add_test(NAME tst_imageresources SOURCES tst_imageresources.cpp LIBS Qt5::Gui)
# The row list that makes widgets only for the rows in view.
discovery_add_test(NAME tst_windowedrowlist SOURCES tst_windowedrowlist.cpp LIBS clientwidgets)
discovery_add_test(NAME tst_textwidthestimate SOURCES tst_textwidthestimate.cpp LIBS clientwidgets)
