// The string-table DLL needs no code; this keeps the linker content.
int zop_test_strings_anchor = 0;
