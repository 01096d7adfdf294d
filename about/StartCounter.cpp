#include "about/StartCounter.h"

#include "ui/SysUtils.h"

#include <climits>

bool IsStartNumber(const std::string& text)
{
    int number;
    return TryStrToInt(text, number) && number > 0;
}

int NextStartNumber(int number) { return number == INT_MAX ? INT_MIN : number + 1; }

TStartCount CountStart(TCounterStore& store)
{
    if (!IsStartNumber(store.Read())) {
        try {
            store.Write("1");
        } catch (const std::exception&) {
            // The store cannot be written: the increment below is skipped too,
            // so that no start shows an error for it.
        }
    }
    TStartCount count;
    count.message = "You've started Mibor8  " + store.Read() + " times.";
    count.held = store.Read();
    if (IsStartNumber(count.held))
        store.Write(IntToStr(NextStartNumber(StrToInt(count.held))));
    return count;
}
