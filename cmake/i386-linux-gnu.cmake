# 32-bit x86 build on a 64-bit Debian host with multiarch: gcc -m32 against the :i386 packages
# (scripts/setup.sh --i386 installs them). Qt's moc/uic/rcc are the host's own (qt6-base-dev-tools
# is Multi-Arch: foreign), which the i386 Qt CMake packages already point at.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)

set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-m32")

# find_library and find_package look in /usr/lib/i386-linux-gnu through the library architecture;
# the 64-bit tree must never be picked up, and pkg-config must describe the i386 libraries.
set(CMAKE_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/i386-linux-gnu/pkgconfig:/usr/share/pkgconfig")

# The binaries run natively on an x86-64 kernel, so tests need no emulator.
