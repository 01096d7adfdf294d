#include "preferences/InfoFigures.h"

#include "ui/SysUtils.h"

std::string LinesText(int lines)
{
    if (lines <= 0)
        return "";
    if (lines == 1)
        return "There is 1 line";
    return "There are " + IntToStr(lines) + " lines";
}

std::string CharactersText(int characters)
{
    if (characters <= 0)
        return "";
    if (characters == 1)
        return "There is one character";
    return "There are " + IntToStr(characters) + " characters";
}

std::string AverageText(int characters, int lines)
{
    int average = lines > 0 ? characters / lines : 0;
    return "The average line length is " + IntToStr(average) + (average <= 1 ? " character" : " characters");
}

std::string GroupThousands(std::uint64_t value, const std::string& separator)
{
    std::string digits = std::to_string(value);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}

std::string MemoryText(std::uint64_t totalBytes, const std::string& separator)
{
    return GroupThousands((totalBytes + 512) / 1024, separator) + " KB";
}

std::string FreeMemoryText(unsigned memoryLoad)
{
    int load = memoryLoad > 100 ? 100 : static_cast<int>(memoryLoad);
    return Format("%d %%", 100 - load);
}

std::string ResolutionText(int width, int height) { return IntToStr(width) + "x" + IntToStr(height); }
