#include "harness/Check.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

namespace check {
namespace {

struct Test {
    const char* name;
    TestFn fn;
};

std::vector<Test>& Tests()
{
    static std::vector<Test> tests;
    return tests;
}

int g_failuresInTest = 0;
std::map<std::string, std::string> g_options;

}  // namespace

void Register(const char* name, TestFn fn) { Tests().push_back({name, fn}); }

Failure::Failure(const char* file, int line, const std::string& what)
{
    const char* base = std::strrchr(file, '/');
    m_where = std::string(base ? base + 1 : file) + ":" + std::to_string(line) + ": " + what;
}

Failure::~Failure()
{
    ++g_failuresInTest;
    std::string context = m_context.str();
    std::printf("    %s%s%s\n", m_where.c_str(), context.empty() ? "" : " -- ", context.c_str());
    std::fflush(stdout);
}

std::string Option(const char* name, const char* fallback)
{
    auto it = g_options.find(name);
    return it == g_options.end() ? std::string(fallback) : it->second;
}

}  // namespace check

int main(int argc, char** argv)
{
    std::vector<std::string> filters;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0 && i + 1 < argc) {
            check::g_options[argv[i] + 2] = argv[i + 1];
            ++i;
        } else
            filters.push_back(argv[i]);
    }

    int passed = 0, failed = 0;
    for (const auto& test : check::Tests()) {
        if (!filters.empty()) {
            bool match = false;
            for (const auto& f : filters) match = match || std::strstr(test.name, f.c_str());
            if (!match) continue;
        }
        check::g_failuresInTest = 0;
        DWORD start = GetTickCount();
        try {
            test.fn();
        } catch (const std::exception& e) {
            std::printf("    exception: %s\n", e.what());
            ++check::g_failuresInTest;
        } catch (...) {
            std::printf("    unknown exception\n");
            ++check::g_failuresInTest;
        }
        DWORD ms = GetTickCount() - start;
        if (check::g_failuresInTest == 0) {
            ++passed;
            std::printf("ok   %s (%lu ms)\n", test.name, static_cast<unsigned long>(ms));
        } else {
            ++failed;
            std::printf("FAIL %s (%lu ms)\n", test.name, static_cast<unsigned long>(ms));
        }
        std::fflush(stdout);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
