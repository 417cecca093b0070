# Every page and dialog in every catalogue at the window's minimum size, and
# the scanning page's controls under paths of any length.
discovery_add_test(NAME tst_layoutfit SOURCES tst_layoutfit.cpp acceptingtaskcalls.h LIBS discoveryclient clientapp)
