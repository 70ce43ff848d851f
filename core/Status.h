#pragma once

// The one failure type of the layers below the window: either all went well, or a kind and a text
// for the user. A Result carries a value or the Status that says why there is none. Both are
// [[nodiscard]], so no caller can drop a failure without saying so.

#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace zvm {

// What sort of failure it is, for callers that act on it; the text is for the user.
enum class FailureKind {
    None,        // no failure
    BadInput,    // what the user or a file gave cannot be used
    NotFound,    // a file or program that is not there
    Io,          // reading, writing, renaming or removing failed
    Refused,     // a request that would lose data, or that another owner holds
    Outside,     // an outside program failed, crashed or did not answer in time
};

class [[nodiscard]] Status {
public:
    Status() = default; // all went well

    // message is a fixed English text (marked with ZVM_TEXT where a window shows it), whose "%1"
    // stands for detail: so a window can translate the message and still show the detail.
    static Status Failure(FailureKind kind, std::string message, std::string detail = {}) {
        assert(kind != FailureKind::None);
        Status s;
        s.kind_ = kind;
        s.message_ = std::move(message);
        s.detail_ = std::move(detail);
        return s;
    }

    // A refusal a window shows in a message box of its own: the message is the box's prompt, with the
    // box's title and the input it is about (a value of the caller's enum of fields).
    static Status Refusal(std::string prompt, std::string title, int field) {
        Status s = Failure(FailureKind::BadInput, std::move(prompt));
        s.title_ = std::move(title);
        s.field_ = field;
        return s;
    }

    bool ok() const { return kind_ == FailureKind::None; }
    FailureKind kind() const { return kind_; }
    const std::string& message() const { return message_; }
    const std::string& detail() const { return detail_; }
    // A refusal's title and field; empty and -1 for other failures.
    const std::string& title() const { return title_; }
    int field() const { return field_; }
    // The message with its detail in place, in English.
    std::string text() const {
        std::string t = message_;
        if (const auto at = t.find("%1"); at != std::string::npos) {
            t.replace(at, 2, detail_);
        }
        return t;
    }

    // For a caller that has nothing to do about a failure; says so where it stands.
    void ignore() const {}

    bool operator==(const Status&) const = default;

private:
    FailureKind kind_ = FailureKind::None;
    std::string message_;
    std::string detail_;
    std::string title_;
    int field_ = -1;
};

template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::move(value)) {} // NOLINT(google-explicit-constructor): a value is a result
    Result(Status failure) : state_(std::move(failure)) { // NOLINT(google-explicit-constructor)
        assert(!std::get<Status>(state_).ok());
    }

    bool ok() const { return std::holds_alternative<T>(state_); }
    // The value; only when ok(). Checked by assert, not by an exception: callers test ok() first.
    T& value() & { return *held(); }
    const T& value() const& { return *held(); }
    T&& value() && { return std::move(*held()); }
    // Why there is no value; a Status that is ok() when there is one.
    Status status() const { return ok() ? Status() : *std::get_if<Status>(&state_); }

private:
    T* held() {
        assert(ok());
        return std::get_if<T>(&state_);
    }
    const T* held() const {
        assert(ok());
        return std::get_if<T>(&state_);
    }

    std::variant<T, Status> state_;
};

} // namespace zvm
