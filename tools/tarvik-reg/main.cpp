// tarvik-reg: the command line of the settings store.

#include <iostream>
#include <string>
#include <vector>

#include "RegArguments.h"
#include "RegCommands.h"

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    tarvik_reg::Arguments arguments;
    std::string error;
    tarvik_reg::Streams streams{std::cin, std::cout, std::cerr};
    if (!tarvik_reg::ParseArguments(words, arguments, error)) {
        std::cerr << "ERROR: " << error << "\nType \"tarvik-reg /?\" for usage.\n";
        return 1;
    }
    return tarvik_reg::RunCommand(arguments, streams);
}
