# The scan history module against the fake scan service on a private bus:
# the table sorts numbers and times as such, a delete takes the run away at
# the service and in the table, the list is read again when a scan ends,
# failures and a missing service are shown.
discovery_add_test(NAME tst_runhistory SOURCES tst_runhistory.cpp scancontrollertest.h LIBS discoveryclient)
# A scan that completes while the window is not active is told through a
# notification service of the test's own on a private session bus.
discovery_add_test(NAME tst_scannotification SOURCES tst_scannotification.cpp scancontrollertest.h LIBS discoveryclient)
