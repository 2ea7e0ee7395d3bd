# Cross compiling for the instrument's board: 32-bit ARM Linux, hard-float
# (Debian's armhf). The board's libraries (Qt 5, LZO, libtirpc, libmicrohttpd,
# Avahi, GoogleTest) are the armhf packages installed beside the desktop's by
# Debian multiarch, so there is no separate sysroot: headers are shared under
# /usr/include, libraries and CMake packages sit in /usr/lib/arm-linux-gnueabihf.
# Host tools (moc, rcc, lrelease, rpcgen) are the desktop's.
#
#   cmake -S . -B build-armhf -DCMAKE_TOOLCHAIN_FILE=cmake/armhf-toolchain.cmake
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR arm)
set(ORNAV_TARGET_TRIPLE arm-linux-gnueabihf)

set(CMAKE_C_COMPILER ${ORNAV_TARGET_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${ORNAV_TARGET_TRIPLE}-g++)
# GCC notes on ARM that std iterators are passed differently from GCC before
# 7.1; nothing of the board is built with such a compiler, and the notes would
# bury the warnings the desktop build also shows.
set(CMAKE_CXX_FLAGS_INIT -Wno-psabi)

# find_library and find_package look in the target's multiarch folders first
# (/usr/lib/arm-linux-gnueabihf, .../cmake); the desktop's folders are never
# searched because they are named for another architecture.
set(CMAKE_LIBRARY_ARCHITECTURE ${ORNAV_TARGET_TRIPLE})
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)

# pkg-config answers with the board's .pc files only.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${ORNAV_TARGET_TRIPLE}/pkgconfig:/usr/share/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# The board's programs run on the desktop under qemu's user-mode emulation;
# the multiarch root (/) holds the board's dynamic loader and libraries.
find_program(ORNAV_QEMU_ARM qemu-arm-static qemu-arm)
if(ORNAV_QEMU_ARM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORNAV_QEMU_ARM} -L /)
endif()
