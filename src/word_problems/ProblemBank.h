// The fixed bank of word problems the word-problem window draws from. Each
// problem is a question and three clock cards; the student clicks the canvas
// whose card shows the time the question asks for.
#pragma once

#include <span>

namespace word_problems {

struct WordProblem {
    int number;                // 1..100
    const char* question;      // shown as is
    int card1, card2, card3;   // cards on canvas 1 (top left), 2 (bottom centre), 3 (top right)
    const char* answerCanvas;  // "1", "2" or "3": kept as text because the window compares it as text
};

inline constexpr int kFirstProblem = 1;
inline constexpr int kLastProblem = 100;
inline constexpr int kProblemCount = kLastProblem - kFirstProblem + 1;

// All problems, in order of number.
std::span<const WordProblem, kProblemCount> AllProblems();

// Problem n, or nullptr when n is not a problem number.
const WordProblem* ProblemByNumber(int n);

}  // namespace word_problems
