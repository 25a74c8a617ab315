#include "word_problems/ProblemBank.h"

#include <array>

namespace word_problems {

namespace {

// Problems 1-50 name a time; 51-99 reckon a time from another one (two
// sentences, two spaces after the full stop); 100 names a time again.
// Some questions repeat on other cards: a problem is its number, not its text.
constexpr std::array<WordProblem, kProblemCount> kProblems = {{
    {1, "Which clock is displaying quarter after nine?", 4, 7, 3, "1"},
    {2, "Which clock is displaying five minutes until five o'clock?", 7, 2, 3, "2"},
    {3, "Which clock is displaying half past nine?", 4, 5, 6, "3"},
    {4, "Which clock is displaying ten minutes after nine?", 3, 5, 1, "1"},
    {5, "Which clock is displaying five minutes until ten o'clock?", 9, 8, 10, "2"},
    {6, "Which clock is displaying quarter after one?", 9, 10, 11, "3"},
    {7, "Which clock is displaying half past one?", 13, 14, 12, "1"},
    {8, "Which clock is displaying quarter 'til two?", 9, 14, 11, "2"},
    {9, "Which clock is displaying nine o'clock?", 8, 10, 9, "3"},
    {10, "Which clock is displaying ten minutes until two?", 15, 14, 13, "1"},
    {11, "Which clock is displaying one o'clock?", 16, 15, 17, "1"},
    {12, "Which clock is displaying quarter after seven?", 15, 18, 17, "2"},
    {13, "Which clock is displaying half past seven?", 19, 15, 20, "3"},
    {14, "Which clock is displaying ten minutes 'til eight?", 22, 23, 24, "1"},
    {15, "Which clock is displaying quarter after six?", 24, 25, 28, "2"},
    {16, "Which clock is displaying twenty minutes until seven?", 22, 24, 27, "3"},
    {17, "Which clock is displaying quarter after ten?", 31, 32, 34, "1"},
    {18, "Which clock is displaying half past ten?", 31, 33, 34, "2"},
    {19, "Which clock is displaying quarter 'til eleven?", 37, 36, 38, "2"},
    {20, "Which clock is displaying quarter after three?", 38, 40, 39, "3"},
    {21, "Which clock is displaying twenty minutes after eight?", 94, 95, 96, "1"},
    {22, "Which clock is displaying half past eight?", 95, 96, 97, "2"},
    {23, "Which clock is displaying twenty minutes until nine?", 94, 96, 98, "3"},
    {24, "Which clock is displaying quarter 'til nine?", 99, 100, 101, "1"},
    {25, "Which clock is displaying ten minutes 'til nine?", 99, 100, 102, "2"},
    {26, "Which clock is displaying quarter after eleven?", 103, 104, 105, "3"},
    {27, "Which clock is displaying half past eleven?", 106, 108, 107, "3"},
    {28, "Which clock is displaying twenty minutes 'til twelve?", 109, 107, 111, "1"},
    {29, "Which clock is displaying five minutes after eleven?", 114, 113, 116, "2"},
    {30, "Which clock is displaying quarter 'til five?", 117, 118, 119, "3"},
    {31, "Which clock is displaying ten minutes until five?", 120, 121, 122, "1"},
    {32, "Which clock is displaying four o'clock?", 121, 122, 123, "2"},
    {33, "Which clock is displaying quarter after nine?", 120, 125, 123, "3"},
    {34, "Which clock is displaying quarter 'til ten?", 125, 124, 123, "1"},
    {35, "Which clock is displaying quarter after one?", 128, 129, 131, "2"},
    {36, "Which clock is displaying half past one?", 129, 131, 132, "3"},
    {37, "Which clock is displaying half past seven?", 141, 142, 143, "1"},
    {38, "Which clock is displaying half past six?", 143, 144, 145, "2"},
    {39, "Which clock is displaying quarter 'til eleven?", 141, 146, 147, "3"},
    {40, "Which clock is displaying ten o'clock?", 148, 149, 151, "1"},
    {41, "Which clock is displaying twenty minutes after eight?", 185, 186, 187, "1"},
    {42, "Which clock is displaying half past eight?", 188, 186, 187, "2"},
    {43, "Which clock is displaying ten minutes 'til nine?", 187, 184, 189, "3"},
    {44, "Which clock is displaying quarter 'til twelve?", 194, 193, 190, "1"},
    {45, "Which clock is displaying twenty-five minutes until twelve?", 194, 193, 195, "2"},
    {46, "Which clock is displaying half past five?", 198, 199, 197, "3"},
    {47, "Which clock is displaying quarter after five?", 195, 202, 201, "1"},
    {48, "Which clock is displaying quarter 'til five?", 204, 205, 206, "3"},
    {49, "Which clock is displaying ten minutes until five?", 206, 207, 208, "2"},
    {50, "Which clock is displaying four o'clock?", 210, 209, 206, "1"},
    {51, "It is three o'clock.  What time will it be in one hour?", 1, 2, 3, "1"},
    {52, "It is nine o'clock.  What time will it be in ten minutes?", 3, 4, 5, "1"},
    {53, "It is ten o'clock.  What time was it half an hour ago?", 1, 2, 6, "3"},
    {54, "It is two o'clock.  What time was it forty-five minutes ago?", 11, 10, 13, "1"},
    {55, "It is two o'clock.  What time was it fifteen minutes ago?", 13, 14, 12, "2"},
    {56, "It is two o'clock.  What time was it ten minutes ago?", 16, 18, 15, "3"},
    {57, "It is quarter after six.  What time will it be in an hour?", 17, 19, 18, "3"},
    {58, "It is eight o'clock.  What time was it an hour ago?", 23, 24, 26, "1"},
    {59, "It is seven o'clock.  What time was it twenty minutes ago?", 26, 27, 28, "2"},
    {60, "It is quarter 'til eight.  What time was it an hour ago?", 27, 26, 28, "3"},
    {61, "It is quarter 'til eight.  What time will it be in an hour?", 99, 100, 101, "1"},
    {62, "It is quarter 'til eight.  What time will it be in twenty minutes?", 103, 102, 99, "2"},
    {63, "It is six o'clock.  What time will it be in two hours?", 100, 104, 103, "3"},
    {64, "It is quarter after nine.  What time will it be in two hours?", 105, 104, 103, "1"},
    {65, "It is half past eight.  What time will it be in three hours?", 107, 108, 109, "1"},
    {66, "It is midnight.  What time was it ten minutes ago?", 109, 110, 112, "2"},
    {67, "It is eleven o'clock.  What time will it be in twelve hours and five minutes?", 114, 115, 113, "3"},
    {68, "It is five o'clock.  What time will it be in twelve hours?", 116, 117, 118, "1"},
    {69, "It is half past four.  What time will it be in twenty-four hours?", 115, 118, 119, "2"},
    {70, "It is four o'clock.  What time will it be in forty-five minutes?", 113, 117, 119, "3"},
    {71, "It is eight o'clock.  What time will it be in twenty minutes?", 185, 183, 186, "1"},
    {72, "It is quarter 'til nine.  What time will it be in five minutes?", 188, 189, 185, "2"},
    {73, "It is five o'clock.  What time will it be in three hours?", 192, 193, 191, "3"},
    {74, "It is quarter 'til eleven.  What time will it be in one hour?", 194, 193, 192, "1"},
    {75, "It is five o'clock.  What time will it be in half an hour?", 197, 198, 199, "1"},
    {76, "It is five minutes after six.  What time was it ten minutes ago?", 199, 200, 201, "2"},
    {77, "It is half past five.  What time was it fifteen minutes ago?", 202, 200, 195, "3"},
    {78, "It is half past four.  What time was it five minutes ago?", 204, 205, 207, "1"},
    {79, "It is four o'clock.  What time will it be in five minutes?", 208, 209, 210, "2"},
    {80, "It is eight o'clock.  What time will it be in one hour and ten minutes?", 212, 213, 211, "3"},
    {81, "It is ten minutes after nine.  What time will it be in thirty-five minutes?", 7, 2, 4, "1"},
    {82, "It was twelve o'clock five minutes ago.  What time is it now?", 45, 46, 48, "2"},
    {83, "It was exactly twelve noon thirty minutes ago.  What time is it now?", 47, 48, 49, "3"},
    {84, "It was half past two fifteen minutes ago.  What time is it now?", 59, 60, 61, "1"},
    {85, "It was two o'clock five minutes ago.  What time is it now?", 183, 184, 185, "1"},
    {86, "It was five minutes past eight a half hour ago.  What time is it now?", 186, 187, 188, "2"},
    {87, "It is six o'clock.  What time will it be in eleven hours?", 201, 200, 202, "3"},
    {88, "One hour ago it was half past eight.  What time is it now?", 214, 215, 216, "1"},
    {89, "It is five minutes 'til nine.  What time will it be in ten minutes?", 216, 217, 213, "2"},
    {90, "It is two o'clock.  What time was it five minutes ago?", 227, 226, 228, "3"},
    {91, "It is twelve o'clock.  What time will it be in one hour and fifteen minutes?", 129, 130, 131, "1"},
    {92, "It is one o'clock.  What time will it be in twenty minutes?", 130, 131, 132, "1"},
    {93, "It is half past four.  What time will it be in two hours?", 142, 143, 144, "3"},
    {94, "It is quarter 'til eleven.  What time will it be in twelve hours?", 147, 146, 144, "1"},
    {95, "It is half past three.  What time will it be in an hour and a half?", 202, 201, 198, "1"},
    {96, "It is quarter 'til five.  What time will it be in a half hour?", 197, 195, 202, "2"},
    {97, "It is half past eight.  What time will it be in forty minutes?", 211, 212, 213, "1"},
    {98, "It is eight o'clock.  What time was it two hours ago?", 29, 30, 34, "1"},
    {99, "It is ten minutes until ten o'clock.  What time will it be in forty-five minutes?", 33, 34, 35, "2"},
    {100, "Which clock is displaying thirty-five minutes after three?", 42, 43, 44, "1"},
}};

}  // namespace

std::span<const WordProblem, kProblemCount> AllProblems() { return kProblems; }

const WordProblem* ProblemByNumber(int n) {
    if (n < kFirstProblem || n > kLastProblem) return nullptr;
    return &kProblems[static_cast<std::size_t>(n - kFirstProblem)];
}

}  // namespace word_problems
