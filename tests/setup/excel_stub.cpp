// A stand-in EXCEL.EXE: the installer only asks Windows for its binary type.
int main() { return 0; }
