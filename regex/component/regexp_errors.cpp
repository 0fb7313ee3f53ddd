// The regular-expression errors of the scripting runtime, one per reason a pattern is refused.
#include "regex/component/regexp_errors.h"

namespace RegExpComponent {

ComponentError CompileFailure(RegexEngine::CompileError error) {
    switch (error) {
    case RegexEngine::CompileError::UnexpectedQuantifier:
        return {ScriptError(5018), L"Unexpected quantifier"};
    case RegexEngine::CompileError::ExpectedBracket:
        return {ScriptError(5019), L"Expected ']' in regular expression"};
    case RegexEngine::CompileError::ExpectedParenthesis:
        return {ScriptError(5020), L"Expected ')' in regular expression"};
    case RegexEngine::CompileError::InvalidRange:
        return {ScriptError(5021), L"Invalid range in character set"};
    case RegexEngine::CompileError::None:
    case RegexEngine::CompileError::Syntax:
        break;
    }
    return {ScriptError(5017), L"Syntax error in regular expression"};
}

} // namespace RegExpComponent
