#include "RegCommands.h"

namespace tarvik_reg {

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  tarvik-reg query KEY [/v NAME | /ve] [/s]\n"
    "  tarvik-reg add KEY [/v NAME | /ve] [/t REG_SZ|REG_EXPAND_SZ|REG_DWORD|REG_BINARY]"
    " [/d DATA] [/f]\n"
    "  tarvik-reg delete KEY [/v NAME | /ve | /va] [/f]\n"
    "  tarvik-reg export KEY FILE [/y]\n"
    "  tarvik-reg import FILE\n"
    "KEY starts with HKCU (HKEY_CURRENT_USER) or HKCR (HKEY_CLASSES_ROOT).\n"
    "DWORD data is decimal or 0x hex; binary data is hex digits.\n"
    "Without /f (/y for export) a destructive command asks for confirmation.\n";

}  // namespace

int RunCommand(const Arguments& arguments, Streams streams) {
    if (arguments.help) {
        streams.out << kUsage;
        return 0;
    }
    if (arguments.operation == "query") return Query(arguments, streams);
    if (arguments.operation == "add") return Add(arguments, streams);
    if (arguments.operation == "delete") return Delete(arguments, streams);
    if (arguments.operation == "export") return Export(arguments, streams);
    return Import(arguments, streams);
}

}  // namespace tarvik_reg
