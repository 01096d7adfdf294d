// The failure of an action as a text: the kind of a socket failure in front
// of its message, a protocol failure's message alone, "no failure" when none.
#pragma once

#include "smtp/SocketClient.h"

#include <string>

template <typename Action>
std::string FailureOf(Action action)
{
    try {
        action();
    } catch (const ESockError& error) {
        return "ESockError: " + error.Message();
    } catch (const EAbortError& error) {
        return "EAbortError: " + error.Message();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "no failure";
}
