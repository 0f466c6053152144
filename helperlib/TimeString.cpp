// The reading of one hours number: the digits after the point are minutes.

#include "helperlib/HelperMessages.h"
#include "helperlib/initQLN.h"
#include "parse/DecimalText.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const kMessageForm =
    "An item must be of the form as in example: 14 or 4:35 or 4.35 and so on.";
const char* const kMessageMinutes =
    "Please, diminish the number of minutes in the fraction part of the hours to be less than 60.";

bool isWellFormed(const char* text) {
    int digits = 0;
    int points = 0;
    for (const char* p = text; *p; ++p) {
        if (*p >= '0' && *p <= '9')
            ++digits;
        else if (*p == '.')
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

} // namespace

extern "C" int mkOneDblFrmTmeStrngDll(const char* text, double* hours) {
    if (text == nullptr || *text == '\0') {
        *hours = 0.0;
        return 1;
    }
    if (!isWellFormed(text)) {
        helperlib::showMessage(kMessageForm);
        return 0;
    }
    const double v = decimaltext::leadingValue(text);
    if (!std::isfinite(v)) {
        // Over 308 digits: no number of hours.
        helperlib::showMessage(kMessageForm);
        return 0;
    }
    const char* point = std::strchr(text, '.');
    if (point == nullptr || point[1] == '\0') {
        *hours = v;
        return 1;
    }
    const double h =
        point == text ? 0.0 : decimaltext::leadingValue(std::string_view(text, point - text));
    const double m = std::trunc(v * 100.0 - h * 100.0 + 0.5);
    if (!std::isfinite(m)) {
        // Near the largest double, a hundred times the number overflows.
        helperlib::showMessage(kMessageForm);
        return 0;
    }
    if (m >= 60.0) {
        helperlib::showMessage(kMessageMinutes);
        return 0;
    }
    *hours = h + m / 60.0;
    return 1;
}

extern "C" void stMsgSnkDll(QlnMessageSinkFn sink, void* context) {
    helperlib::installMessageSink(sink, context);
}
