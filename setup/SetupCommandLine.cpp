#include "SetupCommandLine.h"

#include "base/Text.h"
#include "runtime/ProgramArguments.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

SetupCommand ReadSetupCommand(const char* commandLine, std::string_view folderSwitch) {
    SetupCommand command;
    std::string_view rest = ProgramArguments(commandLine);
    while (!rest.empty()) {
        // The folder switch takes the rest of the line: a folder's name may hold blanks.
        if (rest.substr(0, folderSwitch.size()) == folderSwitch) {
            command.hasFolder = true;
            command.folder = Trim(rest.substr(folderSwitch.size()), " \t");
            break;
        }
        size_t end = 0;
        while (end < rest.size() && !IsBlank(rest[end])) ++end;
        if (rest.substr(0, end) == "/S") command.silent = true;
        while (end < rest.size() && IsBlank(rest[end])) ++end;
        rest.remove_prefix(end);
    }
    return command;
}
