#include "Date.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

Date::Date() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    m_dayNumber = DayNumber(now.wYear, now.wMonth, now.wDay);
}

Date::Date(const char* text) : m_dayNumber(static_cast<int>(std::atol(text ? text : ""))) {}

void Date::SignedText(char* buffer) const {
    // Negative numbers never occur for today's date; they get a minus sign
    // and the digits of their magnitude, so the text still reads back.
    long long magnitude = m_dayNumber < 0 ? -static_cast<long long>(m_dayNumber) : m_dayNumber;
    buffer[0] = m_dayNumber < 0 ? '-' : '+';
    for (int i = 10; i >= 1; --i) {
        buffer[i] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    buffer[11] = '\0';
}

void Date::Format(char* buffer) const {
    int year, month, day;
    SplitDayNumber(m_dayNumber, &year, &month, &day);
    std::sprintf(buffer, "%d/%d/%d", month, day, year);
}

int DayNumber(int year, int month, int day) {
    int y = year;
    if (y < 0)
        ++y;
    const double c = y <= 0 ? 0.75 : 0.0;
    int m = month;
    if (m <= 2) {
        --y;
        m += 12;
    }
    int b = 0;
    if (y * 10000 + m * 100 + day >= 15821015) {
        const int a = y / 100;
        b = 2 - a + a / 4;
    }
    return static_cast<int>(30.6001 * (m + 1)) - static_cast<int>(c - 365.25 * y) + day +
           1720995 + b;
}

void SplitDayNumber(int dayNumber, int* year, int* month, int* day) {
    int a = dayNumber;
    if (dayNumber >= 2299161) {
        const int alpha = static_cast<int>((dayNumber - 1867216.25) / 36524.25);
        a = dayNumber + 1 + alpha - alpha / 4;
    }
    const int b = a + 1524;
    const int c = static_cast<int>((b - 122.1) / 365.25);
    const int d = static_cast<int>(365.25 * c);
    const int e = static_cast<int>((b - d) / 30.6001);
    *day = b - d - static_cast<int>(30.6001 * e);
    *month = e < 13.5 ? e - 1 : e - 13;
    *year = *month > 2.5 ? c - 4716 : c - 4715;
    if (*year <= 0)
        --*year;
}

int TodayDayNumber() { return Date().GetDayNumber(); }
