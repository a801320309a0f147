#pragma once
// Calendar days as Julian Day Numbers (day 0 is 1 January 4713 BC, Julian
// calendar), converted with the published julday/caldat formulas: Julian
// calendar up to 4 October 1582, Gregorian from 15 October 1582.

class Date {
public:
    // Today's UTC date.
    Date();
    // The day number as atol reads the text (0 when it has no digits).
    explicit Date(const char* text);
    virtual ~Date() {}

    int GetDayNumber() const { return m_dayNumber; }

    // Writes a sign and exactly ten digits plus a terminating zero into a
    // buffer of at least 12 bytes, e.g. "+0002461383".
    void SignedText(char* buffer) const;
    // Writes "month/day/year" without leading zeros into a buffer of at
    // least 16 bytes, e.g. "12/8/2026".
    void Format(char* buffer) const;

private:
    int m_dayNumber;
};

// Year has no year 0: 1 BC is -1 (year 0 is taken as 1 BC).
int DayNumber(int year, int month, int day);
void SplitDayNumber(int dayNumber, int* year, int* month, int* day);
int TodayDayNumber();
