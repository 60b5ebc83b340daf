# The private PostgreSQL server of the tests: a CTest fixture starts it (tools/pg-test-server.sh) in
# the build folder before the first test that needs it and stops it after the last, so that
# `ctest -R storage` brings it up by itself.
set(PALTRIX_TEST_SERVER_SCRIPT ${PROJECT_SOURCE_DIR}/tools/pg-test-server.sh)
set(PALTRIX_TEST_SERVER_DIR ${CMAKE_BINARY_DIR}/postgres-test)
execute_process(COMMAND ${PALTRIX_TEST_SERVER_SCRIPT} url ${PALTRIX_TEST_SERVER_DIR}
                OUTPUT_VARIABLE PALTRIX_TEST_SERVER_URL OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)

add_test(NAME postgres_test_server_start
         COMMAND ${PALTRIX_TEST_SERVER_SCRIPT} start ${PALTRIX_TEST_SERVER_DIR})
set_tests_properties(postgres_test_server_start PROPERTIES FIXTURES_SETUP postgres_test_server
                     TIMEOUT 120)
add_test(NAME postgres_test_server_stop
         COMMAND ${PALTRIX_TEST_SERVER_SCRIPT} remove ${PALTRIX_TEST_SERVER_DIR})
set_tests_properties(postgres_test_server_stop PROPERTIES FIXTURES_CLEANUP postgres_test_server
                     TIMEOUT 120)

# gtest_discover_tests for a test executable that uses the test server: every test it holds
# requires the fixture and finds the server's connection URI in PALTRIX_TEST_POSTGRES.
# Takes gtest_discover_tests' arguments, PROPERTIES included.
function(paltrix_discover_tests_on_postgres target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "PROPERTIES")
  gtest_discover_tests(${target} ${arg_UNPARSED_ARGUMENTS}
    PROPERTIES ${arg_PROPERTIES} FIXTURES_REQUIRED postgres_test_server
               ENVIRONMENT "PALTRIX_TEST_POSTGRES=${PALTRIX_TEST_SERVER_URL}")
endfunction()
