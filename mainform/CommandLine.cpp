#include "mainform/CommandLine.h"

#include <algorithm>

std::vector<std::string> SplitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> arguments;
    size_t i = 0, n = commandLine.size();
    bool first = true;
    while (true) {
        while (i < n && static_cast<unsigned char>(commandLine[i]) <= ' ')
            ++i;
        if (i >= n)
            break;
        std::string argument;
        bool quoted = false;
        while (i < n && (quoted || static_cast<unsigned char>(commandLine[i]) > ' ')) {
            if (commandLine[i] == '"')
                quoted = !quoted;
            else
                argument += commandLine[i];
            ++i;
        }
        if (first)
            first = false; // the program's own name
        else
            arguments.push_back(argument);
    }
    return arguments;
}

std::string CommandLineFileName(const std::vector<std::string>& arguments)
{
    std::string name;
    size_t count = std::min<size_t>(arguments.size(), 10);
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            name += ' ';
        name += arguments[i];
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}
