// brisnamake-cli: generate, check and unpack books, and run operator scripts, without a window.
#include <iostream>

#include "cli/CommandLine.h"

int main(int argc, char** argv) {
    brisna::cli::CommandStreams streams{std::cin, std::cout, std::cerr};
    return brisna::cli::RunCommandLine(argc, argv, streams);
}
