// Linked into every test program: a test changes the process's environment
// only while the program is alone. Any other thread may read the environment
// at any moment (the font configuration's reader that a display starts as it
// opens, the C library's time zone, Xlib), and a change may move the table
// from under that reader. So setenv, unsetenv, putenv and clearenv fail the
// running test, naming the variable, while an X connection is open or
// another thread runs; the change itself is still made, so that the test
// runs on as it would have. Tests set what they need before their first
// display opens.
#include "support/other_threads.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <string>

struct _XDisplay;

namespace {

std::atomic<int> openConnections{0};

// The definition the name would have had without this file's.
template <class Function>
Function Next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

void Check(const char* call, const char* variable) {
    const int connections = openConnections.load(), threads = tmtest::OtherThreads();
    if (connections == 0 && threads <= 0) return;
    std::string why;
    if (connections > 0) why = std::to_string(connections) + " X connection(s) open";
    if (threads > 0) why += (why.empty() ? "" : ", ") + std::to_string(threads) + " other thread(s) running";
    ADD_FAILURE() << call << "(" << (variable ? variable : "") << ") with " << why
                  << ": set the environment before the first display opens or thread starts";
}

std::string NameOf(const char* assignment) {
    if (!assignment) return "";
    const std::string s = assignment;
    return s.substr(0, s.find('='));
}

} // namespace

extern "C" {

int setenv(const char* name, const char* value, int overwrite) {
    static const auto next = Next<int (*)(const char*, const char*, int)>("setenv");
    Check("setenv", name);
    return next(name, value, overwrite);
}

int unsetenv(const char* name) {
    static const auto next = Next<int (*)(const char*)>("unsetenv");
    Check("unsetenv", name);
    return next(name);
}

int putenv(char* assignment) {
    static const auto next = Next<int (*)(char*)>("putenv");
    Check("putenv", NameOf(assignment).c_str());
    return next(assignment);
}

int clearenv() {
    static const auto next = Next<int (*)()>("clearenv");
    Check("clearenv", nullptr);
    return next();
}

// Counted only in the programs that use X; the others never call them.
_XDisplay* XOpenDisplay(const char* name) {
    static const auto next = Next<_XDisplay* (*)(const char*)>("XOpenDisplay");
    _XDisplay* connection = next ? next(name) : nullptr;
    if (connection) ++openConnections;
    return connection;
}

int XCloseDisplay(_XDisplay* connection) {
    static const auto next = Next<int (*)(_XDisplay*)>("XCloseDisplay");
    if (connection) --openConnections;
    return next ? next(connection) : 0;
}

} // extern "C"
