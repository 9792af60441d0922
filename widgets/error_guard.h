#pragma once

#include <QAbstractButton>
#include <QObject>

#include <functional>
#include <initializer_list>
#include <utility>

class Desktop;

// Runs one user action. A failure stops the action where it happened and its message is
// shown; nothing escapes into the event loop.
void guarded(Desktop &desktop, const std::function<void()> &action);

// Connects each button's click to its handler in `window`, run inside the guard, so no
// handler can be left unguarded.
template <typename Window>
void connectGuarded(Window *window, Desktop &desktop,
                    std::initializer_list<std::pair<QAbstractButton *, void (Window::*)()>> handlers)
{
    for (const auto &[button, handler] : handlers)
        QObject::connect(button, &QAbstractButton::clicked, window,
                         [window, &desktop, handler = handler] {
                             guarded(desktop, [window, handler] { (window->*handler)(); });
                         });
}
