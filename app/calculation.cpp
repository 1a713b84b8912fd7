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
        if (!Object(0, Place::Top) || !End()) {
            return CalculationRead::Failure(error_);
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
    bool Fail(const std::string& text) {
        if (error_.empty()) {
            error_ = text + " (строка " + std::to_string(Line()) + ")";
        }
        return false;
    }
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
    bool Expect(char ch) {
        SkipBlanks();
        if (!Peek(ch)) {
            return Fail(std::string("ошибка JSON: ожидалась «") + ch + "»");
        }
        ++pos_;
        return true;
    }
    bool End() {
        SkipBlanks();
        return pos_ == text_.size() || Fail("ошибка JSON: лишний текст после объекта");
    }

    bool String(std::string& out) {
        if (!Expect('"')) {
            return false;
        }
        while (pos_ < text_.size()) {
            const char ch = text_[pos_++];
            if (ch == '"') {
                return true;
            }
            if (static_cast<unsigned char>(ch) < 0x20) {
                return Fail("ошибка JSON: управляющий символ внутри строки");
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
                    if (!Unicode(out)) {
                        return false;
                    }
                    break;
                }
                default:
                    return Fail("ошибка JSON: неверная escape-последовательность в строке");
            }
        }
        return Fail("ошибка JSON: строка не закрыта");
    }
    // A \u escape of the Basic Multilingual Plane, written as UTF-8 (the entries' values are
    // option words and numbers; a surrogate pair is not needed for them).
    bool Unicode(std::string& out) {
        unsigned code = 0;
        if (pos_ + 4 > text_.size() ||
            std::from_chars(text_.data() + pos_, text_.data() + pos_ + 4, code, 16).ptr !=
                text_.data() + pos_ + 4) {
            return Fail("ошибка JSON: неверная escape-последовательность \\u");
        }
        pos_ += 4;
        if (code >= 0xD800 && code <= 0xDFFF) {
            return Fail("ошибка JSON: суррогатная пара в строке не поддерживается");
        }
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
        return true;
    }

    bool Scalar(Value& value) {
        const std::size_t start = pos_;
        while (pos_ < text_.size() &&
               std::string_view(",}] \t\r\n").find(text_[pos_]) == std::string_view::npos) {
            ++pos_;
        }
        value.text = std::string(text_.substr(start, pos_ - start));
        if (value.text == "true" || value.text == "false" || value.text == "null") {
            value.kind = ValueKind::Literal;
            return true;
        }
        if (IsJsonNumber(value.text)) {
            value.kind = ValueKind::Number;
            return true;
        }
        pos_ = start;
        return Fail("ошибка JSON: неверное значение «" + value.text + "»");
    }

    bool AnyValue(int depth, Place place, Value& value) {
        SkipBlanks();
        if (depth > kMaxDepth) {
            return Fail("ошибка JSON: слишком глубокая вложенность");
        }
        if (Peek('{')) {
            value.kind = ValueKind::Object;
            return Object(depth + 1, place);
        }
        if (Peek('[')) {
            value.kind = ValueKind::Array;
            return Array(depth + 1);
        }
        if (Peek('"')) {
            value.kind = ValueKind::String;
            return String(value.text);
        }
        return Scalar(value);
    }

    bool Array(int depth) {
        if (!Expect('[')) {
            return false;
        }
        SkipBlanks();
        if (Peek(']')) {
            ++pos_;
            return true;
        }
        while (true) {
            Value item;
            if (!AnyValue(depth, Place::Other, item)) {
                return false;
            }
            SkipBlanks();
            if (Peek(']')) {
                ++pos_;
                return true;
            }
            if (!Expect(',')) {
                return false;
            }
        }
    }

    bool Object(int depth, Place place) {
        if (!Expect('{')) {
            return false;
        }
        if (place == Place::Input) {
            input_.emplace();
        }
        SkipBlanks();
        if (Peek('}')) {
            ++pos_;
            return true;
        }
        while (true) {
            std::string key;
            SkipBlanks();
            if (!String(key) || !Expect(':')) {
                return false;
            }
            const bool input = place == Place::Top && key == "input";
            const std::size_t valueStart = pos_;
            Value value;
            if (!AnyValue(depth, input ? Place::Input : Place::Other, value)) {
                return false;
            }
            if (input && value.kind != ValueKind::Object) {
                pos_ = valueStart;
                return Fail("«input» должен быть объектом с данными расчёта");
            }
            if (place == Place::Top && key == "version") {
                version_ = value.text;
            }
            if (place == Place::Input && !Take(key, value)) {
                return false;
            }
            SkipBlanks();
            if (Peek('}')) {
                ++pos_;
                return true;
            }
            if (!Expect(',')) {
                return false;
            }
        }
    }

    // An entry of the input object: a string, a number or true/false, each key once.
    bool Take(const std::string& key, const Value& value) {
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
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string error_;
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
