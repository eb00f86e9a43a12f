list(APPEND KT_PORTABLE_TESTS portable/md5_test.cpp)
if(WIN32)
  # ktinfo's streamed digest of a binary file against md5sum's.
  add_test(NAME ${KT_BUILD_TAG}/ktinfo_md5
    COMMAND ${CMAKE_COMMAND} -DWINE_RUN=${CMAKE_SOURCE_DIR}/tools/wine-run
            -DPREFIX=${KT_WINE_PREFIX} -DKTINFO=$<TARGET_FILE:ktinfo>
            -DFILE=$<TARGET_FILE_NAME:ktutil>
            -P ${CMAKE_CURRENT_SOURCE_DIR}/md5_ktinfo_check.cmake
    WORKING_DIRECTORY $<TARGET_FILE_DIR:ktutil>)
endif()
