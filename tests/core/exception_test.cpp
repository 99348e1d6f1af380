#include <zop/core.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using namespace zop;

TEST(Exception, DefaultMessagesOfEveryClass) {
    const std::pair<std::function<Exception*()>, const wchar_t*> cases[] = {
        {[] { return new Exception(); }, L""}, {[] { return new ArgumentException(); }, L""},
        {[] { return new OutOfRangeException(); }, L""}, {[] { return new InstantiationException(); }, L""},
        {[] { return new ClassFoundException(); }, L""}, {[] { return new OutOfMemoryException(); }, L"Out of memory"},
        {[] { return new InvalidOperationException(); }, L"Invalid operation exception"},
        {[] { return new FormatException(); }, L"Invalid format"}, {[] { return new IOException(); }, L"I/O exception"},
        {[] { return new FileNotFoundException(); }, L"File not found"},
        {[] { return new DirectoryNotFoundException(); }, L"Directory not found"},
        {[] { return new EOFException(); }, L"Have reached the end of file"}};
    for (const auto& c : cases) {
        std::unique_ptr<Exception> e(c.first());
        EXPECT_EQ(e->message(), c.second);
        EXPECT_EQ(e->to_string(), c.second);
        EXPECT_EQ(e->base_exception(), e.get());
    }
}

TEST(Exception, MessagesAndCausesAreStoredAsGiven) {
    IOException root(L"disk");
    EXPECT_EQ(Exception(L"m").message(), L"m");
    EXPECT_EQ(Exception(L"m", &root).cause(), &root);
    EXPECT_EQ(Exception(&root).message(), L"");
    EXPECT_EQ(Exception(&root).cause(), &root);
    EXPECT_EQ(InvalidOperationException(L"op", &root).cause(), &root);
    EXPECT_EQ(FormatException(L"fmt", &root).message(), L"fmt");
    EXPECT_EQ(InstantiationException(L"inst", &root).cause(), &root);
    EXPECT_EQ(EOFException(L"eof").message(), L"eof");
    EXPECT_EQ(OutOfMemoryException(L"oom").to_string(), L"oom");
    // The parameter name stays out of the text.
    EXPECT_EQ(ArgumentException(L"The bytes buffer is empty.", L"bytes").to_string(), L"The bytes buffer is empty.");
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
