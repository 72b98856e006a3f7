// Shared pieces of the test executables live beside this file.
