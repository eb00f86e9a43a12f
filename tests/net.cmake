list(APPEND KT_PORTABLE_TESTS portable/net_text_test.cpp)
list(APPEND KT_WIN_TESTS win/net_test.cpp)
list(APPEND KT_WIN_TEST_LIBS wsock32)
if(WIN32)
  # The text buffer helpers are internal to the DLL: the Windows test
  # program carries its own copy of them.
  list(APPEND KT_PORTABLE_TESTS ${CMAKE_SOURCE_DIR}/core/text_buffer.cpp)
endif()

# Network cards and the adapter table differ by release: they run in every
# pose, one program at a time, since they lay out card trees in the shared
# prefix and drive its one stand-in TCP driver.
list(APPEND KT_RELEASE_TESTS win/net_cards_test.cpp win/adapter_table_test.cpp)
if(WIN32)
  # Card trees as the releases keep them, and what the library must make of
  # them, beside the programs.
  foreach(data net_cards_9x_none.reg net_cards_9x.reg net_cards_9x_long.reg
               net_cards_nt.reg net_cards_expected.txt)
    configure_file(win/${data} ${CMAKE_BINARY_DIR}/bin/${data} COPYONLY)
  endforeach()
  # The WSOCK32.DLL stand-in, loaded in place of Wine's in the 95/98 poses.
  add_library(kt_wsock32_standin SHARED standin/wsock32_standin.c
                                        standin/wsock32_standin.def)
  set_target_properties(kt_wsock32_standin PROPERTIES PREFIX "" OUTPUT_NAME wsock32
                                                      ARCHIVE_OUTPUT_NAME kt_wsock32_standin)
  target_link_options(kt_wsock32_standin PRIVATE -static-libgcc -Wl,--enable-stdcall-fixup)

  # The TCP driver stand-in runs in Wine's 64-bit device host, whichever
  # build calls it, so both builds make it with the 64-bit compiler.
  find_program(KT_DRIVER_CC NAMES x86_64-w64-mingw32-gcc-posix x86_64-w64-mingw32-gcc
               REQUIRED)
  find_path(KT_DDK_INCLUDE ntddk.h PATHS /usr/x86_64-w64-mingw32/include/ddk
                                         /usr/share/mingw-w64/include/ddk
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(kt_driver ${CMAKE_BINARY_DIR}/bin/kt_tcp_standin.sys)
  set(kt_driver_source ${CMAKE_CURRENT_SOURCE_DIR}/standin/tcp_standin_driver.c)
  add_custom_command(OUTPUT ${kt_driver}
    COMMAND ${KT_DRIVER_CC} -O2 -Wall -Wextra -isystem ${KT_DDK_INCLUDE}
            -I${CMAKE_CURRENT_SOURCE_DIR}/standin -nostdlib -Wl,--subsystem,native
            -Wl,--entry,DriverEntry -o ${kt_driver} ${kt_driver_source} -lntoskrnl
    DEPENDS ${kt_driver_source} standin/tcp_script.h VERBATIM)
  add_custom_target(kt_tcp_standin ALL DEPENDS ${kt_driver})
  list(APPEND KT_RELEASE_TEST_DEPENDS kt_wsock32_standin kt_tcp_standin)

  # ctest installs both before the release programs and removes them after.
  set(kt_standins bash ${CMAKE_CURRENT_SOURCE_DIR}/standin/standins.sh)
  set(kt_standin_args ${CMAKE_SOURCE_DIR}/tools/wine-run ${KT_WINE_PREFIX} ${kt_driver})
  add_test(NAME ${KT_BUILD_TAG}/net_standins_install COMMAND ${kt_standins} install ${kt_standin_args})
  add_test(NAME ${KT_BUILD_TAG}/net_standins_remove COMMAND ${kt_standins} remove ${kt_standin_args})
  set_tests_properties(${KT_BUILD_TAG}/net_standins_install PROPERTIES
    FIXTURES_SETUP kt_net_standins RESOURCE_LOCK kt_net_prefix)
  set_tests_properties(${KT_BUILD_TAG}/net_standins_remove PROPERTIES
    FIXTURES_CLEANUP kt_net_standins RESOURCE_LOCK kt_net_prefix)
  list(APPEND KT_RELEASE_TEST_PROPERTIES
    FIXTURES_REQUIRED kt_net_standins RESOURCE_LOCK kt_net_prefix)
endif()
