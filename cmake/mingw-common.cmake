# The posix-thread variants: libstdc++ then has std::thread and std::mutex.
set(CMAKE_C_COMPILER ${KT_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KT_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KT_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KT_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
