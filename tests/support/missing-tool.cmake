# Run by a test that stands in for one whose tools this machine lacks: it fails, naming them.
message(FATAL_ERROR "${TEST_NAME} cannot run: this machine lacks ${TOOLS}; scripts/setup installs what the tests need")
