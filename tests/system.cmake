# Platform tests, file helpers, text writers, dialog switches, window placement
# and the box.
list(APPEND KT_WIN_TESTS
  win/dialog_control_test.cpp
  win/system_files_test.cpp
)
list(APPEND KT_WIN_TEST_LIBS shell32)

# Processes, the system report, file facts and user identity.
# Searches, detectors, identities and the report differ by family and
# release: they run under Wine's default release and each posed one.
set(kt_system_release_tests win/process_test.cpp win/system_report_test.cpp)
list(APPEND KT_WIN_TESTS
  win/app_info_test.cpp
  win/sid_text_test.cpp
  ${CMAKE_SOURCE_DIR}/system/sid_text.cpp
  ${kt_system_release_tests}
)
list(APPEND KT_RELEASE_TESTS ${kt_system_release_tests})
list(APPEND KT_WIN_TEST_LIBS psapi)
if(WIN32)
  # Helper files the tests find beside themselves: a program to find running
  # and library files with made-to-measure version resources.
  add_executable(kt_idle_child win/idle_child.c)
  target_link_options(kt_idle_child PRIVATE -static)
  foreach(variant FULL UNTRANSLATED BLANK BLANKPRODUCT)
    string(TOLOWER ${variant} name)
    add_library(kt_version_${name} SHARED win/version_variants.rc)
    set_target_properties(kt_version_${name} PROPERTIES LINKER_LANGUAGE C PREFIX "")
    target_compile_definitions(kt_version_${name} PRIVATE KT_VARIANT_${variant})
    list(APPEND KT_WIN_TEST_DEPENDS kt_version_${name})
  endforeach()
  # Built with the programs that run it, so building one target is enough.
  list(APPEND KT_WIN_TEST_DEPENDS kt_idle_child)
  list(APPEND KT_RELEASE_TEST_DEPENDS kt_idle_child)

  # The stand-in trust library, loaded in place of the system's by an
  # override in the environment of these entries only.
  set(kt_trust_dir ${CMAKE_BINARY_DIR}/bin/trust)
  add_library(kt_trust_standin SHARED win/trust_standin.c)
  set_target_properties(kt_trust_standin PROPERTIES OUTPUT_NAME wintrust PREFIX ""
                        RUNTIME_OUTPUT_DIRECTORY ${kt_trust_dir})
  target_link_options(kt_trust_standin PRIVATE -static -Wl,--kill-at)
  add_executable(kt_trust_tests win/trust_test.cpp)
  target_link_libraries(kt_trust_tests PRIVATE kt_test_support)
  target_link_options(kt_trust_tests PRIVATE -static)
  set_target_properties(kt_trust_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${kt_trust_dir})
  add_dependencies(kt_trust_tests kt_trust_standin kt_version_full)
  # "n": the stand-in beside the program; "d": no trust library at all.
  foreach(mode standin=n none=d)
    string(REGEX REPLACE "=.*" "" name ${mode})
    string(REGEX REPLACE ".*=" "" order ${mode})
    add_test(NAME ${KT_BUILD_TAG}/kt_trust_${name} COMMAND kt_trust_tests
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set_tests_properties(${KT_BUILD_TAG}/kt_trust_${name} PROPERTIES
                         ENVIRONMENT "WINEDLLOVERRIDES=wintrust=${order}")
  endforeach()

  # ktinfo's application facts of a real file against md5sum's digest.
  add_test(NAME ${KT_BUILD_TAG}/ktinfo_appinfo
    COMMAND ${CMAKE_COMMAND} -DWINE_RUN=${CMAKE_SOURCE_DIR}/tools/wine-run
            -DPREFIX=${KT_WINE_PREFIX} -DKTINFO=$<TARGET_FILE:ktinfo>
            -DFILE=$<TARGET_FILE_NAME:ktutil> -DMODE=appinfo
            -P ${CMAKE_CURRENT_SOURCE_DIR}/md5_ktinfo_check.cmake
    WORKING_DIRECTORY $<TARGET_FILE_DIR:ktutil>)
endif()

# The password dialog, service login and control, and the installer's entry
# points. Service descriptions differ by release and live in the prefix's
# service manager: they run in the release programs, under their lock. (The
# installer's dial-up question goes with the adapter table's tests.)
list(APPEND KT_WIN_TESTS win/service_test.cpp)
list(APPEND KT_RELEASE_TESTS win/service_release_test.cpp)
if(WIN32)
  # The service's monitor API stand-in, whole and without one entry, each in
  # a folder of its own: the tests point the DLL search at one or neither.
  foreach(variant monitor monitor_partial)
    add_library(kt_${variant}_standin SHARED standin/monitor_standin.c)
    set_target_properties(kt_${variant}_standin PROPERTIES
      OUTPUT_NAME ktmonapi PREFIX "" ARCHIVE_OUTPUT_NAME kt_${variant}_standin
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/${variant})
    target_link_options(kt_${variant}_standin PRIVATE -static -Wl,--kill-at)
    list(APPEND KT_WIN_TEST_DEPENDS kt_${variant}_standin)
  endforeach()
  target_compile_definitions(kt_monitor_partial_standin PRIVATE KT_MONITOR_PARTIAL)
endif()
