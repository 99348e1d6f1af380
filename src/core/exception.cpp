// The exception hierarchy.
#include <zop/core.h>

namespace zop {

Exception::Exception() : cause_(nullptr) {}
Exception::Exception(const std::wstring& message) : message_(message), cause_(nullptr) {}
Exception::Exception(const std::wstring& message, const Exception* cause)
    : message_(message), cause_(cause) {}
Exception::Exception(const Exception* cause) : cause_(cause) {}
Exception::Exception(const Exception& other) = default;
Exception& Exception::operator=(const Exception& other) = default;
Exception::~Exception() = default;

std::wstring Exception::to_string() const { return message_; }
std::wstring Exception::message() const { return message_; }
const Exception* Exception::cause() const { return cause_; }
void Exception::message(const std::wstring& message) { message_ = message; }
void Exception::cause(const Exception* cause) { cause_ = cause; }

const Exception* Exception::base_exception() const {
    const Exception* p = this;
    while (p->cause_ != nullptr) p = p->cause_;
    return p;
}

ArgumentException::ArgumentException() = default;
ArgumentException::ArgumentException(const std::wstring& message) : Exception(message) {}
ArgumentException::ArgumentException(const std::wstring& message, const std::wstring& param_name)
    : Exception(message), param_name_(param_name) {}
ArgumentException::ArgumentException(const ArgumentException& other) = default;
ArgumentException& ArgumentException::operator=(const ArgumentException& other) = default;
ArgumentException::~ArgumentException() = default;

OutOfRangeException::OutOfRangeException() = default;
OutOfRangeException::OutOfRangeException(const std::wstring& message) : Exception(message) {}

OutOfMemoryException::OutOfMemoryException() : Exception(L"Out of memory") {}
OutOfMemoryException::OutOfMemoryException(const std::wstring& message) : Exception(message) {}

InvalidOperationException::InvalidOperationException()
    : Exception(L"Invalid operation exception") {}
InvalidOperationException::InvalidOperationException(const std::wstring& message)
    : Exception(message) {}
InvalidOperationException::InvalidOperationException(const std::wstring& message,
                                                     const Exception* cause)
    : Exception(message, cause) {}

FormatException::FormatException() : Exception(L"Invalid format") {}
FormatException::FormatException(const std::wstring& message) : Exception(message) {}
FormatException::FormatException(const std::wstring& message, const Exception* cause)
    : Exception(message, cause) {}

InstantiationException::InstantiationException() = default;
InstantiationException::InstantiationException(const std::wstring& message) : Exception(message) {}
InstantiationException::InstantiationException(const std::wstring& message, const Exception* cause)
    : Exception(message, cause) {}

ClassFoundException::ClassFoundException() = default;
ClassFoundException::ClassFoundException(const std::wstring& message) : Exception(message) {}

IOException::IOException() : Exception(L"I/O exception") {}
IOException::IOException(const std::wstring& message) : Exception(message) {}

FileNotFoundException::FileNotFoundException() : IOException(L"File not found") {}
FileNotFoundException::FileNotFoundException(const std::wstring& message) : IOException(message) {}

DirectoryNotFoundException::DirectoryNotFoundException() : IOException(L"Directory not found") {}
DirectoryNotFoundException::DirectoryNotFoundException(const std::wstring& message)
    : IOException(message) {}

EOFException::EOFException() : IOException(L"Have reached the end of file") {}
EOFException::EOFException(std::wstring message) : IOException(message) {}

}  // namespace zop
