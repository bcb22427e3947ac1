#pragma once
// The number format settings: one decimal separator per process, read from the
// user's locale at start-up and again when the system announces a change.

#include <string_view>

namespace vesk {

// The decimal separator in force on the calling thread: its own while a
// ThreadDecimalSeparator lives on it, else the process-wide one ("." until the
// locale is read).
char DecimalSeparator() noexcept;

// Sets the decimal separator (the locale reader and tests use it).
void SetDecimalSeparator(char separator) noexcept;

// A decimal separator for the calling thread alone, in force for the object's
// lifetime; the process-wide setting and other threads are untouched. The
// batch calculator answers each line that names its own separator this way.
class ThreadDecimalSeparator {
public:
    explicit ThreadDecimalSeparator(char separator) noexcept;
    ~ThreadDecimalSeparator();
    ThreadDecimalSeparator(const ThreadDecimalSeparator&) = delete;
    ThreadDecimalSeparator& operator=(const ThreadDecimalSeparator&) = delete;

private:
    char saved_;
};

// The separator for a locale setting: the setting itself when it is exactly one
// byte, "." when it is empty, longer, or not a single-byte character.
char DecimalSeparatorFromSetting(std::string_view setting) noexcept;

// Reads the user's default locale (LC_NUMERIC on POSIX systems) and sets the
// separator from it. Never fails: an unreadable locale gives ".".
void ReadNumberFormatFromLocale();

}  // namespace vesk
