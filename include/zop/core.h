/// @file
/// @ingroup core
/// zop core: the exception hierarchy, operating-system error text and facts,
/// string resources and wide-string utilities.
///
/// Wide strings hold UTF-16 code units, one unit per element, on every
/// platform (also where wchar_t is 32 bits wide).
#ifndef ZOP_CORE_H
#define ZOP_CORE_H

#include <zop/export.h>

#include <string>
#include <vector>

/// The zop library: every name it declares.
namespace zop {

/// @defgroup core Core
/// The exception hierarchy, operating-system error text and facts, string
/// resources and wide-string utilities (`<zop/core.h>`), and the export
/// macros (`<zop/export.h>`).
/// @{

// ---------------------------------------------------------------------------
// Exceptions
// ---------------------------------------------------------------------------

/// Root of every exception the library throws.  Carries a message and an
/// optional borrowed pointer to the exception that caused this one: the cause
/// is never copied or deleted, so the thrower keeps it alive while the chain
/// is followed.  Throw by value, catch by reference.
class ZOP_API Exception {
public:
    /// Empty message, no cause.
    Exception();
    /// The given message, no cause.
    explicit Exception(const std::wstring& message);
    /// The given message and cause (which may be null).
    Exception(const std::wstring& message, const Exception* cause);
    /// Empty message and the given cause (which may be null).
    explicit Exception(const Exception* cause);
    /// Copies share the cause pointer of their source.
    ///@{
    Exception(const Exception& other);
    Exception& operator=(const Exception& other);
    ///@}
    /// Destroys the message only; the cause is left alone.
    virtual ~Exception();

    /// The message text, unchanged (no class name, nothing of the cause).
    virtual std::wstring to_string() const;
    /// The message text.
    virtual std::wstring message() const;
    /// The innermost exception of the cause chain; this exception itself when
    /// it has no cause.  Never null.  The chain must end (cycles are not
    /// detected).
    virtual const Exception* base_exception() const;
    /// The cause as stored, or null.
    const Exception* cause() const;

protected:
    /// Replaces the message text.
    void message(const std::wstring& message);
    /// Replaces the cause pointer; the old cause is not touched.
    void cause(const Exception* cause);

private:
    std::wstring message_;
    const Exception* cause_;
};

/// An argument was at fault.  Besides the message it carries the name of the
/// parameter concerned; the name is copied with the exception but appears in
/// neither message() nor to_string().
class ZOP_API ArgumentException : public Exception {
public:
    /// Empty message and parameter name.
    ArgumentException();
    /// The given message, an empty parameter name.
    explicit ArgumentException(const std::wstring& message);
    /// The given message and parameter name.
    ArgumentException(const std::wstring& message, const std::wstring& param_name);
    /// Copies carry the message, the cause pointer and the parameter name.
    ///@{
    ArgumentException(const ArgumentException& other);
    ArgumentException& operator=(const ArgumentException& other);
    ///@}
    /// Destroys the message and the parameter name; the cause is left alone.
    ~ArgumentException() override;

private:
    std::wstring param_name_;
};

/// A position or value lies outside its permitted range.
class ZOP_API OutOfRangeException : public Exception {
public:
    /// Empty message, no cause.
    OutOfRangeException();
    /// The given message, no cause.
    explicit OutOfRangeException(const std::wstring& message);
};

/// The library could not allocate an object or buffer; default message
/// "Out of memory".
class ZOP_API OutOfMemoryException : public Exception {
public:
    /// The default message, no cause.
    OutOfMemoryException();
    /// The given message, no cause.
    explicit OutOfMemoryException(const std::wstring& message);
};

/// An operation is not valid in the object's state; default message
/// "Invalid operation exception".
class ZOP_API InvalidOperationException : public Exception {
public:
    /// The default message, no cause.
    InvalidOperationException();
    /// The given message, no cause.
    explicit InvalidOperationException(const std::wstring& message);
    /// The given message and cause (which may be null).
    InvalidOperationException(const std::wstring& message, const Exception* cause);
};

/// Text does not have the expected format; default message "Invalid format".
class ZOP_API FormatException : public Exception {
public:
    /// The default message, no cause.
    FormatException();
    /// The given message, no cause.
    explicit FormatException(const std::wstring& message);
    /// The given message and cause (which may be null).
    FormatException(const std::wstring& message, const Exception* cause);
};

/// For applications: an object could not be instantiated.
class ZOP_API InstantiationException : public Exception {
public:
    /// Empty message, no cause.
    InstantiationException();
    /// The given message, no cause.
    explicit InstantiationException(const std::wstring& message);
    /// The given message and cause (which may be null).
    InstantiationException(const std::wstring& message, const Exception* cause);
};

/// For applications: a class lookup failed.
class ZOP_API ClassFoundException : public Exception {
public:
    /// Empty message, no cause.
    ClassFoundException();
    /// The given message, no cause.
    explicit ClassFoundException(const std::wstring& message);
};

/// An input/output or operating-system failure; default message
/// "I/O exception".
class ZOP_API IOException : public Exception {
public:
    /// The default message, no cause.
    IOException();
    /// The given message, no cause.
    explicit IOException(const std::wstring& message);
};

/// For applications: a file does not exist; default message "File not found".
class ZOP_API FileNotFoundException : public IOException {
public:
    /// The default message, no cause.
    FileNotFoundException();
    /// The given message, no cause.
    explicit FileNotFoundException(const std::wstring& message);
};

/// A directory does not exist; default message "Directory not found".
class ZOP_API DirectoryNotFoundException : public IOException {
public:
    /// The default message, no cause.
    DirectoryNotFoundException();
    /// The given message, no cause.
    explicit DirectoryNotFoundException(const std::wstring& message);
};

/// Reading went past the end of the data; default message
/// "Have reached the end of file".
class ZOP_API EOFException : public IOException {
public:
    /// The default message, no cause.
    EOFException();
    /// The given message, no cause.
    explicit EOFException(std::wstring message);
};

// ---------------------------------------------------------------------------
// Operating-system error text and facts
// ---------------------------------------------------------------------------

/// Windows versions, ordered: every value above WindowsMe is the NT family.
enum OSVersion {
    UnknownOS = 0,     ///< A system the library does not recognise.
    Windows95 = 1,     ///< Windows 95.
    Windows98 = 2,     ///< Windows 98.
    Windows98SE = 3,   ///< Windows 98 Second Edition.
    WindowsMe = 4,     ///< Windows Me.
    WindowsNT4 = 5,    ///< Windows NT 4.0.
    Windows2000 = 6,   ///< Windows 2000.
    WindowsXP = 7,     ///< Windows XP.
    WindowsNewer = 8   ///< An NT version after XP; also what Linux reports.
};

/// The Windows version the process runs on, detected once and remembered
/// (an unknown system is examined again at every call).  Never throws.
/// On Linux the system reports itself as the newest NT version (WindowsNewer).
ZOP_API OSVersion running_os_version();

/// The prefix followed directly by the system's text for the Win32 error
/// code, its trailing line break removed (the final full stop stays).  When
/// the system has no text for the code, the prefix alone.  Never throws
/// except for allocation failure.
ZOP_API std::wstring system_error(const std::wstring& prefix, int code);

/// An opaque module handle (an HINSTANCE/HMODULE on Windows).
using ModuleHandle = void*;

/// Looks up string `id` in the string-table resources of `module`.  Returns a
/// pointer to its first UTF-16 unit inside the module's resource memory (not
/// zero-terminated, valid while the module stays loaded) and stores its length
/// through `length` when that is not null.  Returns null, leaving `length`
/// untouched, for a null module, a missing or unreadable resource, an index
/// beyond the block, or an empty string.  Linux has no string resources: there
/// it always returns null.  Never throws.
ZOP_API const wchar_t* load_res_string(ModuleHandle module, unsigned int id,
                                       unsigned int* length);

/// Counterpart of load_res_string for callers that pair every load with a
/// release; the string needs no release, so this does nothing.
ZOP_API void after_load_string(const wchar_t* str);

// ---------------------------------------------------------------------------
// Wide-string utilities
// ---------------------------------------------------------------------------
// They work on UTF-16 code units one by one: no case folding, no combining.

/// The smallest index i with off <= i < text.size() whose unit is in `chars`,
/// or -1.  Throws OutOfRangeException when off > text.size().
ZOP_API int find_any(const std::wstring& text, unsigned int off,
                     const std::wstring& chars);

/// The largest index i with i <= off whose unit is in `chars`, or -1.
/// Throws OutOfRangeException when off >= text.size() (always for an empty
/// text).
ZOP_API int find_last_of_any(const std::wstring& text, unsigned int off,
                             const std::wstring& chars);

/// The text without the spaces (U+0020 only) at its start and end.
ZOP_API std::wstring trim(const std::wstring& text);

/// A copy of the text with every `old_char` replaced by `new_char`.
ZOP_API std::wstring replace_char(const std::wstring& text, wchar_t old_char,
                                  wchar_t new_char);

/// Appends the pieces of `text` between separator units to `pieces` (which is
/// never cleared).  A leading separator gives a leading empty piece, adjacent
/// separators an empty piece between them, a trailing separator no trailing
/// piece; an empty text appends nothing and an empty separator set appends
/// the whole text.  Exported under the plain name "split_string".
ZOP_C_API void split_string(const std::wstring& text,
                            std::vector<std::wstring>& pieces,
                            const std::wstring& separators);

/// @}

}  // namespace zop

#endif
