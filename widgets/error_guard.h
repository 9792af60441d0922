#pragma once

#include <functional>

class Desktop;

// Runs one user action. A failure stops the action where it happened and its message is
// shown; nothing escapes into the event loop.
void guarded(Desktop &desktop, const std::function<void()> &action);
