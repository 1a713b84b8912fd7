// Calculation files: writing the input object, and a strict JSON reader that takes the input
// object out of a calculation file or a JSON report and skips everything else.
#include "app/calculation.h"

#include <charconv>
#include <cmath>
#include <optional>

#include "math/json_text.h"

namespace tarvo {

namespace {

// Nesting deeper than this is not a calculation (and would only exhaust the stack).
constexpr int kMaxDepth = 64;

std::string EntryJson(const CalcEntry& entry) {
    return JsonString(entry.key) + ": " + (entry.quoted ? JsonString(entry.value) : entry.value);
}

// A JSON value as the reader hands it on: a scalar's text, or the entries of the input object.
enum class ValueKind { String, Number, Literal, Object, Array };

struct Value {
    ValueKind kind = ValueKind::Literal;
    std::string text;  // a string's characters, a number's or literal's text
};

// A step of the reader: what it read, or why the text is not a calculation, with its line.
using Step = Outcome<Done, std::string>;
using TextRead = Outcome<std::string, std::string>;
using ValueRead = Outcome<Value, std::string>;

// The fault of a failed step, carried on as the fault of another.
template <class To, class From>
To Carried(const From& failed) {
    return To::Failure(failed.fault());
}

// A strict reader of one JSON text. It keeps the top-level "version" and the entries of the
// top-level "input" object; it checks and skips everything else.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    CalculationRead Read() {
        SkipBlanks();
        if (!Peek('{')) {
            return Problem("файл не является JSON-объектом (ожидалась «{»)");
        }
        if (const Step object = Object(0, Place::Top); !object.ok()) {
            return Carried<CalculationRead>(object);
        }
        if (const Step end = End(); !end.ok()) {
            return Carried<CalculationRead>(end);
        }
        if (version_ && *version_ != std::to_string(kCalculationVersion)) {
            return Problem("версия расчёта " + *version_ + " не поддерживается (эта программа " +
                           "читает версию " + std::to_string(kCalculationVersion) + ")");
        }
        if (!input_) {
            return Problem("в файле нет объекта «input» с данными расчёта");
        }
        return *input_;
    }

  private:
    enum class Place { Top, Input, Other };

    CalculationRead Problem(const std::string& text) { return CalculationRead::Failure(text); }
    // What is wrong, at the line the reader has reached.
    std::string Where(const std::string& text) const {
        return text + " (строка " + std::to_string(Line()) + ")";
    }
    Step Fail(const std::string& text) const { return Step::Failure(Where(text)); }
    int Line() const {
        int line = 1;
        for (std::size_t i = 0; i < pos_ && i < text_.size(); ++i) {
            line += text_[i] == '\n' ? 1 : 0;
        }
        return line;
    }
    void SkipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                       text_[pos_] == '\n' || text_[pos_] == '\r')) {
            ++pos_;
        }
    }
    bool Peek(char ch) const { return pos_ < text_.size() && text_[pos_] == ch; }
    Step Expect(char ch) {
        SkipBlanks();
        if (!Peek(ch)) {
            return Fail(std::string("ошибка JSON: ожидалась «") + ch + "»");
        }
        ++pos_;
        return Done{};
    }
    Step End() {
        SkipBlanks();
        if (pos_ != text_.size()) {
            return Fail("ошибка JSON: лишний текст после объекта");
        }
        return Done{};
    }

    TextRead String() {
        if (const Step open = Expect('"'); !open.ok()) {
            return Carried<TextRead>(open);
        }
        std::string out;
        while (pos_ < text_.size()) {
            const char ch = text_[pos_++];
            if (ch == '"') {
                return out;
            }
            if (static_cast<unsigned char>(ch) < 0x20) {
                return Carried<TextRead>(Fail("ошибка JSON: управляющий символ внутри строки"));
            }
            if (ch != '\\') {
                out += ch;
                continue;
            }
            if (pos_ >= text_.size()) {
                break;
            }
            const char esc = text_[pos_++];
            switch (esc) {
                case '"':
                case '\\':
                case '/':
                    out += esc;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    const TextRead character = Unicode();
                    if (!character.ok()) {
                        return character;
                    }
                    out += character.value();
                    break;
                }
                default:
                    return Carried<TextRead>(
                        Fail("ошибка JSON: неверная escape-последовательность в строке"));
            }
        }
        return Carried<TextRead>(Fail("ошибка JSON: строка не закрыта"));
    }
    // A \u escape of the Basic Multilingual Plane, as UTF-8 (the entries' values are option
    // words and numbers; a surrogate pair is not needed for them).
    TextRead Unicode() {
        unsigned code = 0;
        if (pos_ + 4 > text_.size() ||
            std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, code, 16).ptr !=
                text_.data() + pos_ + 4) {
            return Carried<TextRead>(Fail("ошибка JSON: неверная escape-последовательность \\u"));
        }
        pos_ += 4;
        if (code >= 0xD800 && code <= 0xDFFF) {
            return Carried<TextRead>(
                Fail("ошибка JSON: суррогатная пара в строке не поддерживается"));
        }
        std::string out;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
        return out;
    }

    ValueRead Scalar() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() &&
               std::string_view(",}] \t\r\n").find(text_[pos_]) == std::string_view::npos) {
            ++pos_;
        }
        Value value;
        value.text = std::string(text_.substr(start, pos_ - start));
        if (value.text == "true" || value.text == "false" || value.text == "null") {
            value.kind = ValueKind::Literal;
            return value;
        }
        if (IsJsonNumber(value.text)) {
            value.kind = ValueKind::Number;
            return value;
        }
        pos_ = start;
        return Carried<ValueRead>(Fail("ошибка JSON: неверное значение «" + value.text + "»"));
    }

    // A value of any kind; an object or array is checked (and the input object kept) but
    // handed on without its contents.
    ValueRead AnyValue(int depth, Place place) {
        SkipBlanks();
        if (depth > kMaxDepth) {
            return Carried<ValueRead>(Fail("ошибка JSON: слишком глубокая вложенность"));
        }
        Value value;
        if (Peek('{') || Peek('[')) {
            value.kind = Peek('{') ? ValueKind::Object : ValueKind::Array;
            const Step nested =
                value.kind == ValueKind::Object ? Object(depth + 1, place) : Array(depth + 1);
            if (!nested.ok()) {
                return Carried<ValueRead>(nested);
            }
            return value;
        }
        if (Peek('"')) {
            TextRead text = String();
            if (!text.ok()) {
                return Carried<ValueRead>(text);
            }
            value.kind = ValueKind::String;
            value.text = std::move(text).value();
            return value;
        }
        return Scalar();
    }

    Step Array(int depth) {
        if (const Step open = Expect('['); !open.ok()) {
            return open;
        }
        SkipBlanks();
        if (Peek(']')) {
            ++pos_;
            return Done{};
        }
        while (true) {
            if (const ValueRead item = AnyValue(depth, Place::Other); !item.ok()) {
                return Carried<Step>(item);
            }
            SkipBlanks();
            if (Peek(']')) {
                ++pos_;
                return Done{};
            }
            if (const Step comma = Expect(','); !comma.ok()) {
                return comma;
            }
        }
    }

    Step Object(int depth, Place place) {
        if (const Step open = Expect('{'); !open.ok()) {
            return open;
        }
        if (place == Place::Input) {
            input_.emplace();
        }
        SkipBlanks();
        if (Peek('}')) {
            ++pos_;
            return Done{};
        }
        while (true) {
            SkipBlanks();
            const TextRead key = String();
            if (!key.ok()) {
                return Carried<Step>(key);
            }
            if (const Step colon = Expect(':'); !colon.ok()) {
                return colon;
            }
            const bool input = place == Place::Top && key.value() == "input";
            const std::size_t valueStart = pos_;
            const ValueRead value = AnyValue(depth, input ? Place::Input : Place::Other);
            if (!value.ok()) {
                return Carried<Step>(value);
            }
            if (input && value->kind != ValueKind::Object) {
                pos_ = valueStart;
                return Fail("«input» должен быть объектом с данными расчёта");
            }
            if (place == Place::Top && key.value() == "version") {
                version_ = value->text;
            }
            if (place == Place::Input) {
                if (const Step taken = Take(key.value(), value.value()); !taken.ok()) {
                    return taken;
                }
            }
            SkipBlanks();
            if (Peek('}')) {
                ++pos_;
                return Done{};
            }
            if (const Step comma = Expect(','); !comma.ok()) {
                return comma;
            }
        }
    }

    // An entry of the input object: a string, a number or true/false, each key once.
    Step Take(const std::string& key, const Value& value) {
        if (input_->Find(key) != nullptr) {
            return Fail("параметр «" + key + "» задан дважды");
        }
        const bool scalar = value.kind == ValueKind::String || value.kind == ValueKind::Number ||
                            (value.kind == ValueKind::Literal && value.text != "null");
        if (!scalar) {
            return Fail("значение параметра «" + key +
                        "» должно быть числом, строкой или true/false");
        }
        input_->Add(key, value.text, value.kind == ValueKind::String);
        return Done{};
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::optional<std::string> version_;
    std::optional<Calculation> input_;
};

}  // namespace

const CalcEntry* Calculation::Find(std::string_view key) const {
    for (const CalcEntry& entry : entries) {
        if (entry.key == key) {
            return &entry;
        }
    }
    return nullptr;
}

void Calculation::Add(std::string key, std::string value, bool quoted) {
    if (Find(key) == nullptr) {
        entries.push_back({std::move(key), std::move(value), quoted});
    }
}

std::string CalculationObjectJson(const Calculation& calculation) {
    std::string out = "{";
    for (std::size_t i = 0; i < calculation.entries.size(); ++i) {
        out += (i == 0 ? "" : ", ") + EntryJson(calculation.entries[i]);
    }
    return out + "}";
}

std::string CalculationFileJson(const Calculation& calculation) {
    std::string out = std::string("{\n  \"format\": \"") + kCalculationFormat +
                      "\",\n  \"version\": " + std::to_string(kCalculationVersion) +
                      ",\n  \"input\": {";
    for (std::size_t i = 0; i < calculation.entries.size(); ++i) {
        out += (i == 0 ? "\n    " : ",\n    ") + EntryJson(calculation.entries[i]);
    }
    return out + (calculation.entries.empty() ? "}\n}\n" : "\n  }\n}\n");
}

CalculationRead ReadCalculation(std::string_view json) {
    return Reader(json).Read();
}

std::string ExactNumberText(double v) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, result.ptr);
}

bool IsJsonNumber(std::string_view text) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            ++i;
        }
        return i - start;
    };
    if (i < text.size() && text[i] == '-') {
        ++i;
    }
    const std::size_t whole = i;
    const std::size_t wholeDigits = digits();
    if (wholeDigits == 0 || (wholeDigits > 1 && text[whole] == '0')) {
        return false;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (digits() == 0) {
            return false;
        }
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        if (digits() == 0) {
            return false;
        }
    }
    return i == text.size();
}

}  // namespace tarvo
