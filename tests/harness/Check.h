// A small test runner for programs that run under Wine.
//
//   TEST(Name) { CHECK(cond) << "context"; CHECK_EQ(a, b); }
//
// Every failing check prints its file, line, expression and the values
// involved; a test goes on after a failed check.  main() runs the tests
// whose names contain any of its arguments (all without arguments) and
// ends with the line "N passed, N failed".
#pragma once

#include <sstream>
#include <string>

namespace check {

using TestFn = void (*)();
void Register(const char* name, TestFn fn);

// Collects the message of one check and reports it at the end of the
// statement if the check failed.
class Failure {
public:
    Failure(const char* file, int line, const std::string& what);
    ~Failure();
    template <class T>
    Failure& operator<<(const T& value) {
        m_context << value;
        return *this;
    }
private:
    std::string m_where;
    std::ostringstream m_context;
};

struct Registrar {
    Registrar(const char* name, TestFn fn) { Register(name, fn); }
};

// The outcome of comparing two values, each evaluated once.
struct Comparison {
    bool ok;
    std::string what;
};

template <class A, class B>
Comparison Equal(const A& a, const B& b, const char* ea, const char* eb) {
    if (a == b) return {true, std::string()};
    std::ostringstream out;
    out << ea << " == " << eb << " (got " << a << " vs " << b << ")";
    return {false, out.str()};
}

// Options of the run, from the command line: --name value.
std::string Option(const char* name, const char* fallback = "");

}  // namespace check

#define TEST(name)                                                        \
    static void name();                                                   \
    static ::check::Registrar name##_registrar(#name, &name);             \
    static void name()

#define CHECK(cond) \
    if (cond) {     \
    } else          \
        ::check::Failure(__FILE__, __LINE__, #cond)

#define CHECK_EQ(a, b)                                                        \
    if (::check::Comparison check_result_ = ::check::Equal((a), (b), #a, #b); \
        check_result_.ok) {                                                   \
    } else                                                                    \
        ::check::Failure(__FILE__, __LINE__, check_result_.what)
