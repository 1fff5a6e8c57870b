// The two texts of the usage button: the overview with the fixed names and
// the step-by-step procedures, then the cautions. Lines end in CR LF; the
// overview ends in an empty line, the cautions in a line of two blanks.
#pragma once

// The title of both usage boxes.
extern const char16_t* const UsageTitle;
extern const char16_t* const UsageOverviewText;
extern const char16_t* const UsageCautionsText;
