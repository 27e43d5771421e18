#include "core/input/scan_error_text.h"

namespace orvenda::input {
namespace {

bool isBinary(InputLayout layout) {
    return layout == InputLayout::BinaryShortPairs || layout == InputLayout::BinaryFloatPairs;
}

std::string quoted(std::string_view text) {
    std::string out;  // appended piece by piece: operator+ trips a false GCC 12 warning
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

}  // namespace

std::string scanErrorText(const ScanError& error, InputLayout layout, std::string_view fileName) {
    const std::string head = "The file " + quoted(fileName);
    const std::string place = (isBinary(layout) ? "record " : "line ") + std::to_string(error.position);
    switch (error.fault) {
    case ScanFault::CannotOpen: return head + " cannot be opened: " + error.detail + ".";
    case ScanFault::ReadFailed: return head + " cannot be read at " + place + ": " + error.detail + ".";
    case ScanFault::NotANumber:
        if (error.detail.empty())  // only a CSV field can be empty
            return head + " cannot be loaded: " + place + " has an empty I or Q field.";
        return head + " cannot be loaded: " + place + " holds " + quoted(error.detail) + ", which is not a number.";
    case ScanFault::NotFinite:
        if (isBinary(layout))
            return head + " cannot be loaded: " + place + " holds a value that is not a finite number.";
        return head + " cannot be loaded: " + place + " holds " + quoted(error.detail) +
               ", which is beyond the range of numbers.";
    case ScanFault::OddValueCount:
        return head + " cannot be loaded: it holds an odd number of values; the last I value (" + place +
               ") has no Q value.";
    case ScanFault::TooFewFields:
        if (error.detail.empty())
            return head + " cannot be loaded: " + place + " is empty; every line needs two fields (I,Q).";
        return head + " cannot be loaded: " + place + " has fewer than two fields (I,Q): " + quoted(error.detail) + ".";
    case ScanFault::ItemTooLong: return head + " cannot be loaded: " + place + " is too long to be a sample.";
    }
    return head + " cannot be loaded.";
}

}  // namespace orvenda::input
