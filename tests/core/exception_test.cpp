#include <zop/core.h>

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using namespace zop;

// A subclass of the kind applications write: it reaches the protected setters.
class AppException : public Exception {
public:
    void set(const std::wstring& m, const Exception* c) {
        message(m);
        cause(c);
    }
};

TEST(Exception, DefaultMessagesOfEveryClass) {
    struct Case {
        std::unique_ptr<Exception> e;
        const wchar_t* expected;
    };
    std::vector<Case> cases;
    cases.push_back({std::make_unique<Exception>(), L""});
    cases.push_back({std::make_unique<ArgumentException>(), L""});
    cases.push_back({std::make_unique<OutOfRangeException>(), L""});
    cases.push_back({std::make_unique<OutOfMemoryException>(), L"Out of memory"});
    cases.push_back({std::make_unique<InvalidOperationException>(), L"Invalid operation exception"});
    cases.push_back({std::make_unique<FormatException>(), L"Invalid format"});
    cases.push_back({std::make_unique<InstantiationException>(), L""});
    cases.push_back({std::make_unique<ClassFoundException>(), L""});
    cases.push_back({std::make_unique<IOException>(), L"I/O exception"});
    cases.push_back({std::make_unique<FileNotFoundException>(), L"File not found"});
    cases.push_back({std::make_unique<DirectoryNotFoundException>(), L"Directory not found"});
    cases.push_back({std::make_unique<EOFException>(), L"Have reached the end of file"});
    for (const Case& c : cases) {
        EXPECT_EQ(c.e->message(), c.expected);
        EXPECT_EQ(c.e->to_string(), c.expected);
        EXPECT_EQ(c.e->cause(), nullptr);
        EXPECT_EQ(c.e->base_exception(), c.e.get());
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
}

TEST(Exception, ParameterNameStaysOutOfTheText) {
    ArgumentException e(L"The bytes buffer is empty.", L"bytes");
    EXPECT_EQ(e.to_string(), L"The bytes buffer is empty.");
    EXPECT_EQ(e.message(), L"The bytes buffer is empty.");
    ArgumentException copy(e);
    EXPECT_EQ(copy.message(), e.message());
    ArgumentException assigned;
    assigned = e;
    EXPECT_EQ(assigned.message(), L"The bytes buffer is empty.");
}

TEST(Exception, BaseExceptionFollowsTheWholeChain) {
    Exception c(L"C");
    Exception b(L"B", &c);
    Exception a(L"A", &b);
    EXPECT_EQ(a.base_exception(), &c);
    EXPECT_EQ(b.base_exception(), &c);
    EXPECT_EQ(c.base_exception(), &c);
}

TEST(Exception, CopiesShareTheCauseAndNeverOwnIt) {
    IOException cause(L"cause");
    {
        auto* original = new FormatException(L"outer", &cause);
        FormatException copy(*original);
        delete original;  // the cause must survive its holders
        EXPECT_EQ(copy.cause(), &cause);
        Exception assigned;
        assigned = copy;
        EXPECT_EQ(assigned.cause(), &cause);
        EXPECT_EQ(assigned.message(), L"outer");
    }
    EXPECT_EQ(cause.message(), L"cause");
}

TEST(Exception, ProtectedSettersReplaceMessageAndCause) {
    Exception first(L"first");
    AppException e;
    e.set(L"changed", &first);
    EXPECT_EQ(e.message(), L"changed");
    EXPECT_EQ(e.base_exception(), &first);
    e.set(L"again", nullptr);
    EXPECT_EQ(e.base_exception(), &e);
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
