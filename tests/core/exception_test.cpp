#include <zop/core.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

namespace {

using namespace zop;

// Every constructor of every class, through sliced copies, which keep what
// the constructor stored; the parameter name stays out of the text.
TEST(Exception, MessagesAndCausesOfEveryConstructor) {
    IOException root(L"disk");
    const struct {
        Exception e;
        const wchar_t* message;
        const Exception* cause;
    } cases[] = {
        {Exception(), L"", nullptr}, {ArgumentException(), L"", nullptr}, {OutOfRangeException(), L"", nullptr},
        {InstantiationException(), L"", nullptr}, {ClassFoundException(), L"", nullptr},
        {OutOfMemoryException(), L"Out of memory", nullptr},
        {InvalidOperationException(), L"Invalid operation exception", nullptr},
        {FormatException(), L"Invalid format", nullptr}, {IOException(), L"I/O exception", nullptr},
        {FileNotFoundException(), L"File not found", nullptr},
        {DirectoryNotFoundException(), L"Directory not found", nullptr},
        {EOFException(), L"Have reached the end of file", nullptr},
        {Exception(L"m"), L"m", nullptr}, {Exception(L"m", &root), L"m", &root}, {Exception(&root), L"", &root},
        {ArgumentException(L"m"), L"m", nullptr}, {ArgumentException(L"m", L"param"), L"m", nullptr},
        {OutOfRangeException(L"m"), L"m", nullptr}, {OutOfMemoryException(L"m"), L"m", nullptr},
        {InvalidOperationException(L"m"), L"m", nullptr}, {InvalidOperationException(L"m", &root), L"m", &root},
        {FormatException(L"m"), L"m", nullptr}, {FormatException(L"m", &root), L"m", &root},
        {InstantiationException(L"m"), L"m", nullptr}, {InstantiationException(L"m", &root), L"m", &root},
        {ClassFoundException(L"m"), L"m", nullptr}, {IOException(L"m"), L"m", nullptr},
        {FileNotFoundException(L"m"), L"m", nullptr}, {DirectoryNotFoundException(L"m"), L"m", nullptr},
        {EOFException(L"m"), L"m", nullptr}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.e.message(), c.message) << &c - cases;
        EXPECT_EQ(c.e.to_string(), c.message) << &c - cases;
        EXPECT_EQ(c.e.cause(), c.cause) << &c - cases;
        EXPECT_EQ(c.e.base_exception(), c.cause != nullptr ? c.cause : &c.e) << &c - cases;
    }
}

// A subclass of the kind applications write reaches the protected setters.
TEST(Exception, BaseExceptionFollowsTheWholeChain) {
    struct AppException : Exception {
        using Exception::cause;
        using Exception::message;
    };
    Exception c(L"C");
    Exception b(L"B", &c);
    AppException a;
    a.message(L"A");
    a.cause(&b);
    EXPECT_EQ(a.message(), L"A");
    EXPECT_EQ(a.base_exception(), &c);
    a.cause(nullptr);
    EXPECT_EQ(a.base_exception(), &a);
}

template <typename Thrown>
bool caught_as_io(const Thrown& e) {
    try {
        throw e;
    } catch (const IOException&) {
        return true;
    } catch (const Exception&) {
        return false;
    }
}

TEST(Exception, HandlersMatchTheHierarchyAcrossTheLibraryBoundary) {
    EXPECT_TRUE(caught_as_io(EOFException()));
    EXPECT_TRUE(caught_as_io(DirectoryNotFoundException()));
    EXPECT_TRUE(caught_as_io(FileNotFoundException()));
    EXPECT_FALSE(caught_as_io(ArgumentException()));
    // Thrown inside the library, caught here.
    EXPECT_EQ(zop_test::thrown<OutOfRangeException>([] { find_any(L"", 1, L"x"); }),
              L"The off out of the string range");
}

}  // namespace
