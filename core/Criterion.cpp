#include "core/Criterion.h"
#include "core/Errors.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

struct Criterion::Node {
    enum class Kind { Compare, And, Or } kind = Kind::Compare;
    // Compare
    QString field;
    int fieldSlot = 0;   // its place in Criterion::fields()
    Op op = Op::Equal;
    QVariant literal;   // QString, double or invalid (NULL)
    QString literalText;   // the literal as text ...
    // ... and as a number, where it reads as one: worked out when first compared with a number
    // (reading an object ID as a number costs more than the comparisons).
    mutable std::optional<std::optional<double>> literalNumber;
    mutable std::optional<QString> literalIndexKey;   // Criterion::indexKey of the literal, when asked
    // And / Or
    std::shared_ptr<const Node> left, right;
};

namespace {

struct Token {
    enum class Type { Identifier, String, Number, Operator, LeftParen, RightParen, End } type;
    QString text;
};

[[noreturn]] void malformed(const QString& text, const QString& why)
{
    throw KestraneError(ErrorNumber::InvalidArgument, QStringLiteral("Invalid criterion \"%1\": %2").arg(text, why));
}

std::vector<Token> tokenize(const QString& text)
{
    std::vector<Token> tokens;
    int i = 0;
    const int n = text.size();
    while (i < n) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == u'(') {
            tokens.push_back({Token::Type::LeftParen, "("});
            ++i;
        } else if (c == u')') {
            tokens.push_back({Token::Type::RightParen, ")"});
            ++i;
        } else if (c == u'\'' || c == u'#') {
            // 'text' with doubled quotes inside; #date# literals are read as text
            const QChar quote = c;
            QString value;
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == quote) {
                    if (quote == u'\'' && i + 1 < n && text[i + 1] == u'\'') {
                        value += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += text[i++];
            }
            if (!closed)
                malformed(text, QStringLiteral("unterminated literal"));
            tokens.push_back({Token::Type::String, value});
        } else if (c == u'[') {
            const int close = text.indexOf(u']', i);
            if (close < 0)
                malformed(text, QStringLiteral("unterminated field name"));
            tokens.push_back({Token::Type::Identifier, text.mid(i + 1, close - i - 1)});
            i = close + 1;
        } else if (c == u'=' || c == u'<' || c == u'>') {
            QString op(c);
            if (i + 1 < n && (text[i + 1] == u'=' || (c == u'<' && text[i + 1] == u'>')))
                op += text[++i];
            ++i;
            tokens.push_back({Token::Type::Operator, op});
        } else if (c.isDigit() || ((c == u'-' || c == u'.') && i + 1 < n && text[i + 1].isDigit())) {
            int start = i++;
            while (i < n && (text[i].isDigit() || text[i] == u'.' || text[i] == u'e' || text[i] == u'E'))
                ++i;
            tokens.push_back({Token::Type::Number, text.mid(start, i - start)});
        } else if (c.isLetter() || c == u'_') {
            int start = i++;
            while (i < n && (text[i].isLetterOrNumber() || text[i] == u'_'))
                ++i;
            tokens.push_back({Token::Type::Identifier, text.mid(start, i - start)});
        } else {
            malformed(text, QStringLiteral("unexpected character '%1'").arg(c));
        }
    }
    tokens.push_back({Token::Type::End, QString()});
    return tokens;
}

class Parser {
public:
    Parser(const QString& text) : m_text(text), m_tokens(tokenize(text)) {}

    QStringList fields;   // as Criterion::fields()

    std::shared_ptr<const Criterion::Node> parseAll()
    {
        auto node = parseOr();
        if (peek().type != Token::Type::End)
            malformed(m_text, QStringLiteral("unexpected \"%1\"").arg(peek().text));
        return node;
    }

private:
    const Token& peek() const { return m_tokens[m_pos]; }
    const Token& take() { return m_tokens[m_pos++]; }
    bool takeKeyword(const char* word)
    {
        if (peek().type == Token::Type::Identifier && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) {
            ++m_pos;
            return true;
        }
        return false;
    }

    std::shared_ptr<const Criterion::Node> join(Criterion::Node::Kind kind,
                                                std::shared_ptr<const Criterion::Node> left,
                                                std::shared_ptr<const Criterion::Node> right)
    {
        auto node = std::make_shared<Criterion::Node>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    std::shared_ptr<const Criterion::Node> parseOr()
    {
        auto node = parseAnd();
        while (takeKeyword("OR"))
            node = join(Criterion::Node::Kind::Or, node, parseAnd());
        return node;
    }

    std::shared_ptr<const Criterion::Node> parseAnd()
    {
        auto node = parsePrimary();
        while (takeKeyword("AND"))
            node = join(Criterion::Node::Kind::And, node, parsePrimary());
        return node;
    }

    std::shared_ptr<const Criterion::Node> parsePrimary()
    {
        if (peek().type == Token::Type::LeftParen) {
            take();
            auto node = parseOr();
            if (take().type != Token::Type::RightParen)
                malformed(m_text, QStringLiteral("missing )"));
            return node;
        }
        if (peek().type != Token::Type::Identifier)
            malformed(m_text, QStringLiteral("field name expected"));
        auto node = std::make_shared<Criterion::Node>();
        node->field = take().text;
        node->fieldSlot = int(fields.indexOf(node->field));
        if (node->fieldSlot < 0) {
            node->fieldSlot = int(fields.size());
            fields << node->field;
        }
        node->op = parseOperator();
        const Token& value = take();
        switch (value.type) {
        case Token::Type::String:
            node->literal = value.text;
            break;
        case Token::Type::Number:
            node->literal = value.text.toDouble();
            break;
        case Token::Type::Identifier:
            if (value.text.compare(QLatin1String("NULL"), Qt::CaseInsensitive) == 0)
                break;  // invalid QVariant stands for NULL
            [[fallthrough]];
        default:
            malformed(m_text, QStringLiteral("value expected after %1").arg(node->field));
        }
        if (node->literal.isValid())
            node->literalText = node->literal.toString();
        return node;
    }

    Criterion::Op parseOperator()
    {
        if (takeKeyword("LIKE"))
            return Criterion::Op::Like;
        const Token& token = take();
        if (token.type == Token::Type::Operator) {
            if (token.text == u"=") return Criterion::Op::Equal;
            if (token.text == u"<>") return Criterion::Op::NotEqual;
            if (token.text == u"<") return Criterion::Op::Less;
            if (token.text == u"<=") return Criterion::Op::LessEqual;
            if (token.text == u">") return Criterion::Op::Greater;
            if (token.text == u">=") return Criterion::Op::GreaterEqual;
        }
        malformed(m_text, QStringLiteral("comparison operator expected"));
    }

    QString m_text;
    std::vector<Token> m_tokens;
    size_t m_pos = 0;
};

bool isNumeric(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Bool: case QMetaType::Char: case QMetaType::UChar: case QMetaType::SChar:
        return true;
    default:
        return false;
    }
}

// * and % stand for any run of characters; everything else is literal.
bool likeMatches(const QString& value, const QString& pattern)
{
    QString regex;
    for (const QChar c : pattern)
        regex += (c == u'*' || c == u'%') ? QStringLiteral(".*") : QRegularExpression::escape(QString(c));
    const QRegularExpression re(QRegularExpression::anchoredPattern(regex),
                                QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return re.match(value).hasMatch();
}

const std::optional<double>& literalNumber(const Criterion::Node& node)
{
    if (!node.literalNumber) {
        bool isNumber = false;
        const double number = node.literalText.toDouble(&isNumber);
        node.literalNumber = isNumber ? std::optional<double>(number)
                             : node.literal.typeId() == QMetaType::Double ? std::optional<double>(node.literal.toDouble())
                                                                          : std::nullopt;
    }
    return *node.literalNumber;
}

int compareValues(const QVariant& field, const Criterion::Node& node)
{
    if (isNumeric(field))
        if (const std::optional<double>& number = literalNumber(node)) {
            const double left = field.toDouble();
            return left < *number ? -1 : (left > *number ? 1 : 0);
        }
    if (field.typeId() == QMetaType::QString)
        return QString::compare(*static_cast<const QString*>(field.constData()), node.literalText, Qt::CaseInsensitive);
    return QString::compare(field.toString(), node.literalText, Qt::CaseInsensitive);
}

bool evaluate(const Criterion::Node& node, const Criterion::FieldLookup& lookup)
{
    using Kind = Criterion::Node::Kind;
    if (node.kind == Kind::And)
        return evaluate(*node.left, lookup) && evaluate(*node.right, lookup);
    if (node.kind == Kind::Or)
        return evaluate(*node.left, lookup) || evaluate(*node.right, lookup);

    const QVariant value = lookup(node.fieldSlot);
    const bool valueIsNull = !value.isValid() || value.isNull();
    if (!node.literal.isValid()) {  // compared with NULL
        if (node.op == Criterion::Op::Equal) return valueIsNull;
        if (node.op == Criterion::Op::NotEqual) return !valueIsNull;
        return false;
    }
    if (valueIsNull)
        return node.op == Criterion::Op::NotEqual;
    if (node.op == Criterion::Op::Like)
        return likeMatches(value.toString(), node.literalText);
    const int order = compareValues(value, node);
    switch (node.op) {
    case Criterion::Op::Equal: return order == 0;
    case Criterion::Op::NotEqual: return order != 0;
    case Criterion::Op::Less: return order < 0;
    case Criterion::Op::LessEqual: return order <= 0;
    case Criterion::Op::Greater: return order > 0;
    case Criterion::Op::GreaterEqual: return order >= 0;
    case Criterion::Op::Like: break;
    }
    return false;
}

}  // namespace

Criterion Criterion::parse(const QString& text)
{
    constexpr qsizetype kKept = 256;   // more than the texts one object uses
    thread_local QHash<QString, Criterion> parsed;
    if (const auto known = parsed.constFind(text); known != parsed.constEnd())
        return *known;
    Parser parser(text);
    Criterion criterion;
    criterion.m_root = parser.parseAll();
    criterion.m_fields = std::make_shared<const QStringList>(std::move(parser.fields));
    if (parsed.size() >= kKept)
        parsed.clear();
    parsed.insert(text, criterion);
    return criterion;
}

const QStringList& Criterion::fields() const
{
    return *m_fields;
}

bool Criterion::matches(const FieldLookup& field) const
{
    return evaluate(*m_root, field);
}

bool Criterion::isSingleEquality() const
{
    return m_root->kind == Node::Kind::Compare && m_root->op == Op::Equal && m_root->literal.isValid();
}

const QString& Criterion::equalityField() const { return m_root->field; }
const QVariant& Criterion::equalityValue() const { return m_root->literal; }

const QString& Criterion::equalityIndexKey() const
{
    if (!m_root->literalIndexKey)
        m_root->literalIndexKey = indexKey(m_root->literal);
    return *m_root->literalIndexKey;
}

QString Criterion::indexKey(QVariant value)
{
    if (isNumeric(value) || value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 17);
    QString key = value.toString();
    value.clear();   // a value handed over leaves the key its text's only holder: folded in place
    // An index holds a key per row (object IDs, ASCII): ASCII is folded here, without the
    // Unicode tables, which cost most of building the index.
    const auto isUpperAscii = [](QChar c) { return c >= u'A' && c <= u'Z'; };
    if (!std::all_of(key.cbegin(), key.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return key.toCaseFolded();
    if (std::any_of(key.cbegin(), key.cend(), isUpperAscii))
        for (QChar& c : key)
            if (isUpperAscii(c))
                c = QChar(c.unicode() + (u'a' - u'A'));
    return key;
}

QString quoteLiteral(const QString& value)
{
    // Written in place, character by character appends cost more than the search they serve.
    const qsizetype quotes = value.count(u'\'');
    QString quoted(value.size() + quotes + 2, Qt::Uninitialized);
    QChar* out = quoted.data();
    *out++ = u'\'';
    for (const QChar c : value) {
        *out++ = c;
        if (c == u'\'')
            *out++ = c;
    }
    *out = u'\'';
    return quoted;
}
