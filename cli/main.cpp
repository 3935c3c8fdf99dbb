#include "cli.hpp"

int main(int argc, char** argv) { return vapordex::cli::run(argc, argv); }
