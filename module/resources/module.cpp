// The shared library is the module code linked whole; see CMakeLists.txt.
