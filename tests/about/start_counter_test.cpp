// The start counter's rule, against a store held in memory.
#include "about/StartCounter.h"

#include "ui/SysUtils.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

class MemoryCounter : public TCounterStore {
public:
    std::optional<std::string> value;
    int writes = 0;
    bool refuseWrites = false;

    std::string Read() override { return value.value_or(""); }
    void Write(const std::string& text) override
    {
        if (refuseWrites)
            throw ERegistryException("Failed to set data for 'Counter'");
        value = text;
        ++writes;
    }
};

} // namespace

TEST(StartCounter, EachStoredValueGivesItsMessageAndTheNextValue)
{
    struct Case {
        std::optional<std::string> stored;
        const char* shown;
        const char* after;
        int writes;
    };
    const Case cases[] = {
        {std::nullopt, "1", "2", 2}, // first start
        {"5", "5", "6", 1},
        {"0", "1", "2", 2},
        {"-3", "1", "2", 2},
        {"abc", "1", "2", 2},
        {"", "1", "2", 2},
        {"007", "007", "8", 1},                 // shown as stored
        {"99999999999", "1", "2", 2},           // beyond 32 bits: not a whole number
        {"2147483647", "2147483647", "-2147483648", 1},
        {"-2147483648", "1", "2", 2},           // the wrapped value is repaired
    };
    for (const Case& c : cases) {
        MemoryCounter store;
        store.value = c.stored;
        TStartCount count = CountStart(store);
        std::string name = c.stored.value_or("(absent)");
        EXPECT_EQ(count.message, std::string("You've started Mibor8  ") + c.shown + " times.") << name;
        EXPECT_EQ(count.held, c.shown) << name;
        EXPECT_EQ(store.Read(), c.after) << name;
        EXPECT_EQ(store.writes, c.writes) << name;
    }
}

TEST(StartCounter, AStoreThatCannotBeWrittenSkipsTheIncrementButAFailedIncrementRaises)
{
    // The repair fails: no error, no increment, the text as stored is shown.
    MemoryCounter broken;
    broken.value = "abc";
    broken.refuseWrites = true;
    TStartCount count;
    EXPECT_NO_THROW(count = CountStart(broken));
    EXPECT_EQ(count.message, "You've started Mibor8  abc times.");
    EXPECT_EQ(*broken.value, "abc");

    // A sound counter whose increment cannot be written: the failure is the
    // caller's to report.
    MemoryCounter readOnly;
    readOnly.value = "5";
    readOnly.refuseWrites = true;
    EXPECT_THROW(CountStart(readOnly), ERegistryException);
}
