// The validators of Utils: the rules every text typed by the user passes before it is sent.
#include "utils/utils.h"

#include <QChar>

namespace {

// What the regular-expression class \s matches: the ASCII controls tab to carriage return, the space
// separators of Unicode, the line and paragraph separators and the byte-order mark.
bool isWhitespace(QChar ch)
{
    const char16_t c = ch.unicode();
    if ((c >= 0x09 && c <= 0x0d) || c == 0x20 || c == 0xa0 || c == 0x2028 || c == 0x2029 || c == 0xfeff)
        return true;
    return ch.category() == QChar::Separator_Space;
}

bool startsWithWhitespace(const QString &text)
{
    return !text.isEmpty() && isWhitespace(text.front());
}

bool endsWithWhitespace(const QString &text)
{
    return !text.isEmpty() && isWhitespace(text.back());
}

bool containsIf(const QString &text, bool (*predicate)(char16_t))
{
    for (QChar ch : text) {
        if (predicate(ch.unicode()))
            return true;
    }
    return false;
}

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

bool isAsciiLower(char16_t c)
{
    return c >= u'a' && c <= u'z';
}

bool isAsciiUpper(char16_t c)
{
    return c >= u'A' && c <= u'Z';
}

bool isText(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<QString>();
}

ValidationResult fail(const char *message)
{
    return ValidationResult::fail(QString::fromLatin1(message));
}

} // namespace

QString Utils::specialCharacters()
{
    return QStringLiteral("!\"#$%&'()*+,-./:;<=>?@[\\]^_{|}");
}

bool Utils::containsSpecialCharacters(const QString &text)
{
    const QString special = specialCharacters();
    for (QChar ch : text) {
        if (special.contains(ch))
            return true;
    }
    return false;
}

ValidationResult Utils::validateUsername(const QVariant &value)
{
    if (!isText(value))
        return fail("Username must be a string type.");
    if (value.toString().size() > 25)
        return fail("Username cannot be more than 25 characters in length.");
    return ValidationResult::pass();
}

ValidationResult Utils::validateUserPassword(const QVariant &value)
{
    if (!isText(value))
        return fail("Password must be a string type.");
    const QString text = value.toString();
    if (text.size() < 8)
        return fail("Password must be at least eight characters long.");
    if (!containsSpecialCharacters(text))
        return fail("Password must contain at least one special character.");
    if (!containsIf(text, isAsciiDigit))
        return fail("Password must contain at least one number.");
    if (startsWithWhitespace(text))
        return fail("Password cannot start with whitespace characters.");
    if (endsWithWhitespace(text))
        return fail("Password name cannot end with whitespace characters.");
    return ValidationResult::pass();
}

ValidationResult Utils::validateComputerName(const QVariant &value)
{
    if (!isText(value))
        return fail("Machine name must be a string type.");
    const QString text = value.toString();
    if (text.size() < 3)
        return fail("Machine name must be at least three characters long.");
    // Also what keeps a valid name safe to place in a request URL.
    if (containsSpecialCharacters(text))
        return fail("Machine name cannot contain special characters.");
    if (startsWithWhitespace(text))
        return fail("Machine name cannot start with whitespace characters.");
    if (endsWithWhitespace(text))
        return fail("Machine name cannot end with whitespace characters.");
    return ValidationResult::pass();
}

ValidationResult Utils::validateComputerUserName(const QVariant &value)
{
    if (!isText(value))
        return fail("Username must be a string type.");
    const QString text = value.toString();
    if (text.size() < 3)
        return fail("Username must be at least three characters long.");
    if (text.size() > 19)
        return fail("Username must be at less than twenty characters long.");
    if (startsWithWhitespace(text))
        return fail("Username cannot start with whitespace characters.");
    if (endsWithWhitespace(text))
        return fail("Username cannot end with whitespace characters.");
    return ValidationResult::pass();
}

ValidationResult Utils::validateComputerPassword(const QVariant &value)
{
    if (!isText(value))
        return fail("Password must be a string type.");
    const QString text = value.toString();
    if (text.size() < 8)
        return fail("Password must be at least eight characters long.");
    if (!containsIf(text, isAsciiLower))
        return fail("Password must contain at least one lowercase letter.");
    if (!containsIf(text, isAsciiUpper))
        return fail("Password must contain at least one uppercase letter.");
    if (!containsIf(text, isAsciiDigit))
        return fail("Password must contain at least one number.");
    if (!containsSpecialCharacters(text))
        return fail("Password must contain at least one special character.");
    if (startsWithWhitespace(text))
        return fail("Password cannot start with whitespace characters.");
    if (endsWithWhitespace(text))
        return fail("Password name cannot end with whitespace characters.");
    return ValidationResult::pass();
}
