#include "reporting/status_fields.h"

#include <nlohmann/json.hpp>

#include <utility>

#include "common/plain_text.h"

namespace tidewell {
namespace {

using Json = nlohmann::json;

// Keeps the values of the known keys of the outermost object; everything deeper is passed over.
class FieldReader : public nlohmann::json_sax<Json> {
  public:
    explicit FieldReader(StatusFields& fields) : fields_(fields) {}

    bool key(string_t& name) override {
        field_ = depth_ == 1 ? FieldNamed(name) : Field{};
        return true;
    }
    bool string(string_t& value) override {
        const Field field = Take();
        if (field.text && !field.number) {
            field.text->assign(value);
            MakePlainUtf8(*field.text);
        } else if (field.text) {
            field.text->clear();
        }
        return true;
    }
    bool number_unsigned(number_unsigned_t value) override {
        const Field field = Take();
        if (field.text) *field.text = field.number ? std::to_string(value) : std::string();
        return true;
    }
    bool null() override { return Clear(); }
    bool boolean(bool) override { return Clear(); }
    bool number_integer(number_integer_t) override { return Clear(); }
    bool number_float(number_float_t, const string_t&) override { return Clear(); }
    bool binary(binary_t&) override { return Clear(); }
    bool start_object(std::size_t) override {
        Clear();
        topIsObject_ = topIsObject_ || depth_ == 0;
        ++depth_;
        return true;
    }
    bool end_object() override {
        --depth_;
        return true;
    }
    bool start_array(std::size_t) override {
        Clear();
        ++depth_;
        return true;
    }
    bool end_array() override {
        --depth_;
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
        return false;
    }
    bool TopIsObject() const { return topIsObject_; }

  private:
    struct Field {
        std::string* text = nullptr;  // null: a key not read
        bool number = false;          // a whole number rather than a string
    };

    Field FieldNamed(std::string_view name) {
        StatusFields& f = fields_;
        const struct {
            std::string_view name;
            Field field;
        } known[] = {
            {"computer", {&f.computer}},
            {"user", {&f.user}},
            {"version", {&f.version}},
            {"state", {&f.state}},
            {"detail", {&f.detail}},
            {"monitor", {&f.monitor, true}},
            {"monitorName", {&f.monitorName}},
            {"presentation", {&f.presentation}},
            {"position", {&f.position, true}},
            {"count", {&f.count, true}},
            {"since", {&f.since}},
            {"updated", {&f.updated}},
            {"nextShow", {&f.nextShow}},
            {"source", {&f.source}},
            {"copyTime", {&f.copyTime}},
            {"lastError", {&f.lastError}},
            {"lastErrorTime", {&f.lastErrorTime}},
        };
        for (const auto& k : known) {
            if (name == k.name) return k.field;
        }
        return {};
    }
    // The field that the value just read belongs to, once.
    Field Take() { return std::exchange(field_, Field{}); }
    bool Clear() {
        if (std::string* text = Take().text) text->clear();
        return true;
    }

    StatusFields& fields_;
    Field field_;
    int depth_ = 0;
    bool topIsObject_ = false;
};

}  // namespace

std::optional<StatusFields> ReadStatusFields(std::string_view document) {
    StatusFields fields;
    FieldReader reader(fields);
    if (!Json::sax_parse(document, &reader) || !reader.TopIsObject()) return std::nullopt;
    return fields;
}

}  // namespace tidewell
