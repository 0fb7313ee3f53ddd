// Recursive-descent parser of the pattern dialect, its depth bounded by kMaxNesting.
//
// Legacy rules of ECMAScript 3 browsers that the dialect keeps:
// - "{" that does not begin a well-formed quantifier, and a lone "]" or "}", are literals.
// - \N and \NM outside a class (groups counted over the whole pattern, as ECMAScript counts
//   them): the escape's number is all of its decimal digits, at most two. It is a
//   back-reference when the pattern has at least that many capturing groups; otherwise, when
//   N is an octal digit, the digits are an octal escape (up to three digits, at most \377),
//   and otherwise (\8, \9) the digit itself. So \11 with one group is the tab and \141 the
//   letter "a", as the platform's component reads them. Inside a class digits are always an
//   octal escape or the digit itself.
// - In a class, a class escape never bounds a range: "-" behind one (as in [\d-z]) is a
//   literal "-", and a range that would end in one (as in [1-\d]) is refused.
// - \xhh and \uhhhh without enough hex digits stand for "x" and "u"; \c not followed by a
//   letter stands for a backslash followed by "c"; any other escaped unit stands for itself.
#include "regex/engine/pattern_parser.h"

#include <utility>

namespace RegexEngine {
namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
bool IsOctalDigit(char16_t c) {
    return c >= u'0' && c <= u'7';
}

int HexValue(char16_t c) {
    if (IsDigit(c)) {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

// Capturing groups of the whole pattern, needed before parsing to tell back-references from
// octal escapes.
uint32_t CountCapturingGroups(std::u16string_view pattern) {
    uint32_t count = 0;
    bool inClass = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char16_t c = pattern[i];
        if (c == u'\\') {
            ++i;
        } else if (inClass) {
            inClass = c != u']';
        } else if (c == u'[') {
            inClass = true;
            if (i + 1 < pattern.size() && pattern[i + 1] == u'^') {
                ++i;
            }
            if (i + 1 < pattern.size() && pattern[i + 1] == u']') {
                ++i;
                inClass = false;
            }
        } else if (c == u'(' && (i + 1 >= pattern.size() || pattern[i + 1] != u'?')) {
            ++count;
        }
    }
    return count;
}

// One class atom: a unit, or a class escape such as \d.
struct ClassAtom {
    char16_t unit = 0;
    bool isClass = false;
    CharClass cls;
};

class Parser {
public:
    Parser(std::u16string_view pattern, Options options)
        : pattern_(pattern), options_(options), totalGroups_(CountCapturingGroups(pattern)) {}

    ParseResult Run() {
        ParseResult result;
        uint32_t root = 0;
        if (ParseDisjunction(0, root) && !AtEnd()) {
            Fail(CompileError::Syntax); // a ")" without its "("
        }
        result.error = error_;
        if (error_ == CompileError::None) {
            tree_.root = root;
            tree_.groupCount = nextGroup_ - 1;
            result.tree = std::move(tree_);
        }
        return result;
    }

private:
    bool AtEnd() const { return pos_ >= pattern_.size(); }
    char16_t Peek(size_t ahead = 0) const {
        return pos_ + ahead < pattern_.size() ? pattern_[pos_ + ahead] : 0;
    }
    bool HasAhead(size_t ahead) const { return pos_ + ahead < pattern_.size(); }

    bool Fail(CompileError error) {
        if (error_ == CompileError::None) {
            error_ = error;
        }
        return false;
    }

    uint32_t Add(PatternNode node) {
        tree_.nodes.push_back(std::move(node));
        return static_cast<uint32_t>(tree_.nodes.size() - 1);
    }

    uint32_t AddList(PatternNode::Kind kind, std::vector<uint32_t> children, uint32_t firstGroup) {
        if (children.size() == 1) {
            return children[0];
        }
        PatternNode node;
        node.kind = children.empty() ? PatternNode::Kind::Empty : kind;
        node.children = std::move(children);
        node.firstGroup = firstGroup;
        node.endGroup = nextGroup_;
        return Add(std::move(node));
    }

    uint32_t AddClassNode(CharClass cls) {
        tree_.classes.push_back(std::move(cls));
        PatternNode node;
        node.kind = PatternNode::Kind::Class;
        node.value = static_cast<uint32_t>(tree_.classes.size() - 1);
        return Add(std::move(node));
    }

    bool ParseDisjunction(int depth, uint32_t &out) {
        if (depth > kMaxNesting) {
            return Fail(CompileError::Syntax);
        }
        uint32_t firstGroup = nextGroup_;
        std::vector<uint32_t> alternatives;
        for (;;) {
            uint32_t alternative = 0;
            if (!ParseAlternative(depth, alternative)) {
                return false;
            }
            alternatives.push_back(alternative);
            if (Peek() != u'|' || AtEnd()) {
                break;
            }
            ++pos_;
        }
        out = AddList(PatternNode::Kind::Alternation, std::move(alternatives), firstGroup);
        return true;
    }

    bool ParseAlternative(int depth, uint32_t &out) {
        uint32_t firstGroup = nextGroup_;
        std::vector<uint32_t> terms;
        while (!AtEnd() && Peek() != u'|' && Peek() != u')') {
            uint32_t term = 0;
            if (!ParseTerm(depth, term)) {
                return false;
            }
            terms.push_back(term);
        }
        out = AddList(PatternNode::Kind::Concat, std::move(terms), firstGroup);
        return true;
    }

    // Reads a quantifier at pos_ if one stands there. Returns false on an error.
    bool ParseQuantifier(bool &present, uint32_t &min, uint32_t &max, bool &greedy) {
        present = false;
        char16_t c = Peek();
        if (AtEnd()) {
            return true;
        }
        if (c == u'*' || c == u'+' || c == u'?') {
            min = c == u'+' ? 1 : 0;
            max = c == u'?' ? 1 : kUnbounded;
            ++pos_;
        } else if (c == u'{') {
            size_t end = pos_ + 1;
            if (!ReadBraceQuantifier(end, min, max)) {
                return true; // a literal "{"
            }
            pos_ = end;
            if (min > max) {
                return Fail(CompileError::Syntax);
            }
        } else {
            return true;
        }
        present = true;
        greedy = true;
        if (Peek() == u'?' && !AtEnd()) {
            greedy = false;
            ++pos_;
        }
        return true;
    }

    // {n}, {n,} or {n,m} starting after the "{" at `at`; on success `at` is past the "}".
    bool ReadBraceQuantifier(size_t &at, uint32_t &min, uint32_t &max) const {
        auto readNumber = [&](uint32_t &value) {
            size_t begin = at;
            uint64_t number = 0;
            while (at < pattern_.size() && IsDigit(pattern_[at])) {
                number = std::min<uint64_t>(number * 10 + (pattern_[at] - u'0'), kUnbounded - 1);
                ++at;
            }
            value = static_cast<uint32_t>(number);
            return at > begin;
        };
        if (!readNumber(min)) {
            return false;
        }
        max = min;
        if (at < pattern_.size() && pattern_[at] == u',') {
            ++at;
            if (!readNumber(max)) {
                max = kUnbounded;
            }
        }
        if (at >= pattern_.size() || pattern_[at] != u'}') {
            return false;
        }
        ++at;
        return true;
    }

    bool StartsQuantifier() const {
        char16_t c = Peek();
        if (AtEnd()) {
            return false;
        }
        if (c == u'*' || c == u'+' || c == u'?') {
            return true;
        }
        uint32_t min = 0;
        uint32_t max = 0;
        size_t at = pos_ + 1;
        return c == u'{' && ReadBraceQuantifier(at, min, max);
    }

    bool ParseTerm(int depth, uint32_t &out) {
        if (StartsQuantifier()) {
            return Fail(CompileError::UnexpectedQuantifier);
        }
        if (ParseAssertion(out)) {
            if (StartsQuantifier()) {
                return Fail(CompileError::UnexpectedQuantifier);
            }
            return true;
        }
        uint32_t firstGroup = nextGroup_;
        uint32_t atom = 0;
        if (!ParseAtom(depth, atom)) {
            return false;
        }
        bool present = false;
        PatternNode repeat;
        if (!ParseQuantifier(present, repeat.min, repeat.max, repeat.greedy)) {
            return false;
        }
        if (!present) {
            out = atom;
            return true;
        }
        if (StartsQuantifier()) {
            return Fail(CompileError::UnexpectedQuantifier);
        }
        repeat.kind = PatternNode::Kind::Repeat;
        repeat.children = {atom};
        repeat.firstGroup = firstGroup;
        repeat.endGroup = nextGroup_;
        out = Add(std::move(repeat));
        return true;
    }

    bool ParseAssertion(uint32_t &out) {
        PatternNode node;
        node.kind = PatternNode::Kind::Assert;
        char16_t c = Peek();
        if (c == u'^') {
            node.assertKind = options_.multiline ? AssertKind::LineStart : AssertKind::SubjectStart;
            pos_ += 1;
        } else if (c == u'$') {
            node.assertKind = options_.multiline ? AssertKind::LineEnd : AssertKind::SubjectEnd;
            pos_ += 1;
        } else if (c == u'\\' && (Peek(1) == u'b' || Peek(1) == u'B') && HasAhead(1)) {
            node.assertKind =
                Peek(1) == u'b' ? AssertKind::WordBoundary : AssertKind::NotWordBoundary;
            pos_ += 2;
        } else {
            return false;
        }
        out = Add(std::move(node));
        return true;
    }

    bool ParseAtom(int depth, uint32_t &out) {
        char16_t c = Peek();
        PatternNode node;
        switch (c) {
        case u'(':
            return ParseGroup(depth, out);
        case u'[':
            return ParseClass(out);
        case u'\\':
            return ParseAtomEscape(out);
        case u'.':
            ++pos_;
            node.kind = PatternNode::Kind::AnyButLineFeed;
            out = Add(std::move(node));
            return true;
        default:
            ++pos_;
            node.kind = PatternNode::Kind::Unit;
            node.value = c;
            out = Add(std::move(node));
            return true;
        }
    }

    bool ParseGroup(int depth, uint32_t &out) {
        ++pos_; // "("
        PatternNode node;
        node.kind = PatternNode::Kind::Group;
        if (Peek() == u'?' && !AtEnd()) {
            char16_t kind = Peek(1);
            if (!HasAhead(1) || (kind != u':' && kind != u'=' && kind != u'!')) {
                return Fail(CompileError::Syntax);
            }
            if (kind != u':') {
                node.kind = PatternNode::Kind::Lookahead;
                node.negative = kind == u'!';
            }
            pos_ += 2;
        } else {
            node.value = nextGroup_++;
        }
        node.firstGroup =
            node.kind == PatternNode::Kind::Group && node.value != 0 ? node.value : nextGroup_;
        uint32_t body = 0;
        if (!ParseDisjunction(depth + 1, body)) {
            return false;
        }
        if (AtEnd() || Peek() != u')') {
            return Fail(CompileError::ExpectedParenthesis);
        }
        ++pos_;
        node.endGroup = nextGroup_;
        node.children = {body};
        out = Add(std::move(node));
        return true;
    }

    // Reads the escape after a backslash at pos_ (pos_ is at the unit after it) that stands for
    // a single unit: control escapes, \cX, \xhh, \uhhhh, octal, or the unit itself.
    char16_t ParseUnitEscape() {
        char16_t c = pattern_[pos_++];
        switch (c) {
        case u'f':
            return u'\f';
        case u'n':
            return u'\n';
        case u'r':
            return u'\r';
        case u't':
            return u'\t';
        case u'v':
            return u'\v';
        case u'c': {
            char16_t letter = Peek();
            if (!AtEnd() &&
                ((letter >= u'a' && letter <= u'z') || (letter >= u'A' && letter <= u'Z'))) {
                ++pos_;
                return static_cast<char16_t>(letter % 32);
            }
            --pos_; // the "c" is read again as a literal
            return u'\\';
        }
        case u'x':
            return ParseHex(2, c);
        case u'u':
            return ParseHex(4, c);
        default:
            if (IsOctalDigit(c)) {
                --pos_;
                return ParseOctal();
            }
            return c;
        }
    }

    char16_t ParseHex(size_t digits, char16_t letter) {
        uint32_t value = 0;
        for (size_t i = 0; i < digits; ++i) {
            int digit = HexValue(Peek(i));
            if (!HasAhead(i) || digit < 0) {
                return letter;
            }
            value = value * 16 + static_cast<uint32_t>(digit);
        }
        pos_ += digits;
        return static_cast<char16_t>(value);
    }

    // Up to three octal digits when the first is 0-3, else up to two: at most \377.
    char16_t ParseOctal() {
        uint32_t value = pattern_[pos_++] - u'0';
        size_t more = value <= 3 ? 2 : 1;
        for (size_t i = 0; i < more && !AtEnd() && IsOctalDigit(Peek()); ++i) {
            value = value * 8 + (pattern_[pos_++] - u'0');
        }
        return static_cast<char16_t>(value);
    }

    // \d \D \w \W \s \S as a sealed class (the negated ones negated), or false.
    bool ParseClassEscape(CharClass &cls) {
        char16_t c = Peek();
        switch (c) {
        case u'd':
        case u'D':
            cls.AddDigits();
            break;
        case u'w':
        case u'W':
            cls.AddWordUnits();
            break;
        case u's':
        case u'S':
            cls.AddWhiteSpace();
            break;
        default:
            return false;
        }
        ++pos_;
        cls.Seal();
        if (c == u'D' || c == u'W' || c == u'S') {
            cls.Negate();
        }
        return true;
    }

    bool ParseAtomEscape(uint32_t &out) {
        ++pos_; // "\"
        if (AtEnd()) {
            return Fail(CompileError::Syntax);
        }
        CharClass cls;
        if (ParseClassEscape(cls)) {
            out = AddClassNode(std::move(cls));
            return true;
        }
        PatternNode node;
        char16_t c = Peek();
        if (c >= u'1' && c <= u'9') {
            uint32_t one = c - u'0';
            uint32_t two = HasAhead(1) && IsDigit(Peek(1)) ? one * 10 + (Peek(1) - u'0') : 0;
            if (two != 0) {
                if (two <= totalGroups_) {
                    node.value = two;
                    pos_ += 2;
                }
            } else if (one <= totalGroups_) {
                node.value = one;
                pos_ += 1;
            }
            if (node.value != 0) {
                node.kind = PatternNode::Kind::BackReference;
                tree_.hasBackReferences = true;
                out = Add(std::move(node));
                return true;
            }
        }
        node.kind = PatternNode::Kind::Unit;
        node.value = ParseUnitEscape();
        out = Add(std::move(node));
        return true;
    }

    bool ParseClassAtom(ClassAtom &atom) {
        if (Peek() != u'\\') {
            atom.unit = pattern_[pos_++];
            return true;
        }
        ++pos_;
        if (AtEnd()) {
            return Fail(CompileError::ExpectedBracket);
        }
        if (ParseClassEscape(atom.cls)) {
            atom.isClass = true;
            return true;
        }
        if (Peek() == u'b') {
            ++pos_;
            atom.unit = u'\b';
            return true;
        }
        atom.unit = ParseUnitEscape();
        return true;
    }

    static void AddAtom(CharClass &cls, const ClassAtom &atom) {
        if (atom.isClass) {
            cls.AddClass(atom.cls);
        } else {
            cls.AddRange(atom.unit, atom.unit);
        }
    }

    bool ParseClass(uint32_t &out) {
        ++pos_; // "["
        CharClass cls;
        bool negated = false;
        if (!AtEnd() && Peek() == u'^') {
            negated = true;
            ++pos_;
        }
        for (;;) {
            if (AtEnd()) {
                return Fail(CompileError::ExpectedBracket);
            }
            if (Peek() == u']') {
                ++pos_;
                break;
            }
            ClassAtom first;
            if (!ParseClassAtom(first)) {
                return false;
            }
            if (first.isClass || Peek() != u'-' || !HasAhead(1) || Peek(1) == u']') {
                AddAtom(cls, first);
                continue;
            }
            ++pos_; // "-"
            ClassAtom last;
            if (!ParseClassAtom(last)) {
                return false;
            }
            if (last.isClass || first.unit > last.unit) {
                return Fail(CompileError::InvalidRange);
            } else {
                cls.AddRange(first.unit, last.unit);
            }
        }
        if (options_.ignoreCase) {
            cls.CloseUnderFolding();
        }
        cls.Seal();
        if (negated) {
            cls.Negate();
        }
        out = AddClassNode(std::move(cls));
        return true;
    }

    std::u16string_view pattern_;
    Options options_;
    uint32_t totalGroups_;
    size_t pos_ = 0;
    uint32_t nextGroup_ = 1;
    CompileError error_ = CompileError::None;
    PatternTree tree_;
};

} // namespace

ParseResult ParsePattern(std::u16string_view pattern, Options options) {
    return Parser(pattern, options).Run();
}

} // namespace RegexEngine
