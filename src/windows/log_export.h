// The log as a CSV file: a header, then one line per reading with its date-time and its four
// values, in code page 1251 with CR LF after every line and no byte-order mark.
#pragma once

#include <string>

#include "series.h"

extern const char kLogCsvHeader[];

// One reading's line, without its end: the date-time text, then RMS, DC, maximum and minimum as
// number text with 3 decimals, separated by ";".
std::string LogCsvLine(double time, double rms, double dc, double max, double min);

// Writes the header and one line per point of `dc` (its time, then the values of the four series
// at that index) to fileName, in chunks, replacing a file there only once all of it is written.
// Raises the framework's file errors; the series are only read.
void ExportLogCsv(const std::string& fileName, const chart::Series& rms, const chart::Series& dc,
                  const chart::Series& max, const chart::Series& min);
