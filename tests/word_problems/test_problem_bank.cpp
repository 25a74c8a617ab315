// The bank is hand-copied data: these tests read every question's words,
// work out the time it asks for on a 12-hour dial, and check that the cards
// and answer canvas agree. The reader is deliberately strict: a question it
// cannot read fails the test rather than being skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cards/CardTable.h"
#include "word_problems/ProblemBank.h"

using word_problems::AllProblems;
using word_problems::ProblemByNumber;
using word_problems::WordProblem;

namespace {

constexpr int kDial = 12 * 60;

int OnDial(int minutes) { return ((minutes % kDial) + kDial) % kDial; }

std::string DialText(int minutes) {
    const int h = minutes / 60 == 0 ? 12 : minutes / 60;
    const int m = minutes % 60;
    return std::to_string(h) + ":" + (m < 10 ? "0" : "") + std::to_string(m);
}

int CardMinutes(int card) {
    const auto& t = cards::kCardTimes[static_cast<std::size_t>(card - 1)];
    return OnDial(t.hour * 60 + t.minute);
}

// Reads one question into the dial time it asks for (minutes after 12:00,
// 0..719), or leaves a reason in error().
class QuestionReader {
public:
    std::optional<int> Read(std::string_view text) {
        error_.clear();
        if (text.empty() || text.back() != '?') return Fail("does not end in '?'");
        text.remove_suffix(1);
        std::vector<std::string_view> sentences;
        for (std::size_t stop; (stop = text.find(".  ")) != std::string_view::npos;) {
            sentences.push_back(text.substr(0, stop));
            text.remove_prefix(stop + 3);
        }
        sentences.push_back(text);
        if (sentences.size() == 1) {
            Start(sentences[0]);
            if (!Take("which clock is displaying")) return Fail("unknown question");
            auto t = Time();
            if (!t || !AtEnd()) return Fail("unreadable time");
            return OnDial(*t);
        }
        if (sentences.size() != 2) return Fail("more than two sentences");

        Start(sentences[1]);
        enum class Ask { Later, Earlier, Now } ask;
        std::optional<int> askSpan;
        if (Take("what time will it be in")) {
            ask = Ask::Later;
            askSpan = Span();
        } else if (Take("what time was it")) {
            ask = Ask::Earlier;
            askSpan = Span();
            if (askSpan && !Take("ago")) return Fail("'ago' missing");
        } else if (Take("what time is it now")) {
            ask = Ask::Now;
        } else {
            return Fail("unknown second sentence");
        }
        if ((ask != Ask::Now && !askSpan) || !AtEnd()) return Fail("unreadable second sentence");

        Start(sentences[0]);
        if (ask != Ask::Now) {
            if (!Take("it is")) return Fail("first sentence must say 'It is'");
            auto t = Time();
            if (!t || !AtEnd()) return Fail("unreadable first sentence");
            return OnDial(ask == Ask::Later ? *t + *askSpan : *t - *askSpan);
        }
        if (Take("it was")) {  // "It was <time> <span> ago."
            auto t = Time();
            auto s = t ? Span() : std::nullopt;
            if (!s || !Take("ago") || !AtEnd()) return Fail("unreadable first sentence");
            return OnDial(*t + *s);
        }
        auto s = Span();  // "<span> ago it was <time>."
        if (!s || !Take("ago it was")) return Fail("unknown first sentence");
        auto t = Time();
        if (!t || !AtEnd()) return Fail("unreadable first sentence");
        return OnDial(*t + *s);
    }

    const std::string& error() const { return error_; }

private:
    std::nullopt_t Fail(const std::string& why) {
        if (error_.empty()) error_ = why;
        return std::nullopt;
    }

    // Splits on single spaces; the sentence's capital letter is dropped so
    // that "One hour ago" reads like any other span.
    void Start(std::string_view sentence) {
        words_.clear();
        at_ = 0;
        std::size_t begin = 0;
        while (begin <= sentence.size()) {
            std::size_t end = sentence.find(' ', begin);
            if (end == std::string_view::npos) end = sentence.size();
            words_.emplace_back(sentence.substr(begin, end - begin));
            begin = end + 1;
        }
        if (!words_.empty() && !words_[0].empty())
            words_[0][0] = static_cast<char>(std::tolower(static_cast<unsigned char>(words_[0][0])));
    }

    bool AtEnd() const { return at_ == words_.size(); }

    // Consumes the given words if they come next, all of them or none.
    bool Take(std::string_view phrase) {
        std::size_t i = at_;
        while (!phrase.empty()) {
            const std::size_t sp = phrase.find(' ');
            const std::string_view word = phrase.substr(0, sp);
            if (i >= words_.size() || words_[i] != word) return false;
            ++i;
            phrase = sp == std::string_view::npos ? std::string_view{} : phrase.substr(sp + 1);
        }
        at_ = i;
        return true;
    }

    // one .. fifty-nine, "twenty-five" style for the compounds.
    std::optional<int> Number() {
        static const std::map<std::string, int> kUnits = {
            {"one", 1}, {"two", 2}, {"three", 3}, {"four", 4}, {"five", 5}, {"six", 6},
            {"seven", 7}, {"eight", 8}, {"nine", 9}, {"ten", 10}, {"eleven", 11},
            {"twelve", 12}, {"thirteen", 13}, {"fourteen", 14}, {"fifteen", 15},
            {"sixteen", 16}, {"seventeen", 17}, {"eighteen", 18}, {"nineteen", 19}};
        static const std::map<std::string, int> kTens = {
            {"twenty", 20}, {"thirty", 30}, {"forty", 40}, {"fifty", 50}};
        if (AtEnd()) return std::nullopt;
        const std::string& w = words_[at_];
        std::optional<int> value;
        if (auto u = kUnits.find(w); u != kUnits.end()) {
            value = u->second;
        } else if (auto t = kTens.find(w); t != kTens.end()) {
            value = t->second;
        } else if (const auto dash = w.find('-'); dash != std::string::npos) {
            auto t = kTens.find(w.substr(0, dash));
            auto u = kUnits.find(w.substr(dash + 1));
            if (t != kTens.end() && u != kUnits.end() && u->second < 10)
                value = t->second + u->second;
        }
        if (value) ++at_;
        return value;
    }

    // "<n> minute(s)" / "<n> hour(s)" with the noun agreeing with n.
    std::optional<int> Counted(std::string_view singular, std::string_view plural) {
        const std::size_t mark = at_;
        auto n = Number();
        if (n && Take(*n == 1 ? singular : plural)) return n;
        at_ = mark;
        return std::nullopt;
    }

    std::optional<int> Hour() {
        const std::size_t mark = at_;
        auto h = Number();
        if (!h || *h > 12) {
            at_ = mark;
            return std::nullopt;
        }
        return *h * 60;
    }

    // An hour named after "after", "until" and the like, "o'clock" optional.
    std::optional<int> NamedHour() {
        auto h = Hour();
        if (h) Take("o'clock");
        return h;
    }

    std::optional<int> Time() {
        Take("exactly");
        if (Take("midnight") || Take("twelve noon") || Take("noon")) return 0;
        if (Take("quarter after") || Take("quarter past")) {
            auto h = NamedHour();
            return h ? std::optional(*h + 15) : std::nullopt;
        }
        if (Take("quarter 'til") || Take("quarter until")) {
            auto h = NamedHour();
            return h ? std::optional(*h - 15) : std::nullopt;
        }
        if (Take("half past")) {
            auto h = NamedHour();
            return h ? std::optional(*h + 30) : std::nullopt;
        }
        if (auto m = Counted("minute", "minutes")) {
            const bool before = Take("until") || Take("'til");
            if (!before && !Take("after") && !Take("past")) return std::nullopt;
            auto h = NamedHour();
            if (!h) return std::nullopt;
            return before ? *h - *m : *h + *m;
        }
        const std::size_t mark = at_;
        if (auto h = Hour(); h && Take("o'clock")) return h;
        at_ = mark;
        return std::nullopt;
    }

    std::optional<int> Span() {
        if (Take("half an hour") || Take("a half hour")) return 30;
        std::optional<int> hours;
        if (Take("an hour")) {
            hours = 1;
        } else if ((hours = Counted("hour", "hours"))) {
        } else {
            return Counted("minute", "minutes");
        }
        int total = *hours * 60;
        if (Take("and")) {
            if (Take("a half")) {
                total += 30;
            } else if (auto m = Counted("minute", "minutes")) {
                total += *m;
            } else {
                return std::nullopt;
            }
        }
        return total;
    }

    std::vector<std::string> words_;
    std::size_t at_ = 0;
    std::string error_;
};

std::array<int, 3> CardsOf(const WordProblem& p) { return {p.card1, p.card2, p.card3}; }

}  // namespace

TEST(QuestionReader, ReadsTheKindsOfQuestionAndWrapsTheDial) {
    struct Case { const char* question; const char* time; };
    const Case cases[] = {
        {"Which clock is displaying quarter 'til one?", "12:45"},
        {"Which clock is displaying five minutes until twelve o'clock?", "11:55"},
        {"Which clock is displaying forty-five minutes past twelve?", "12:45"},
        {"It is midnight.  What time was it one hour and five minutes ago?", "10:55"},
        {"It is quarter after eleven.  What time will it be in two hours?", "1:15"},
        {"It is noon.  What time will it be in an hour and a half?", "1:30"},
        {"It is one o'clock.  What time was it twenty-four hours ago?", "1:00"},
        {"It was ten minutes 'til one half an hour ago.  What time is it now?", "1:20"},
        {"Two hours ago it was eleven o'clock.  What time is it now?", "1:00"},
    };
    for (const auto& c : cases) {
        QuestionReader reader;
        const auto t = reader.Read(c.question);
        ASSERT_TRUE(t.has_value()) << c.question << ": " << reader.error();
        EXPECT_EQ(DialText(*t), c.time) << c.question;
    }
}

TEST(QuestionReader, RefusesWordsItDoesNotKnow) {
    const char* const questions[] = {
        "Which clock is displaying quarter 'till nine?",
        "Which clock is displaying thirteen o'clock?",
        "Which clock is displaying nine?",
        "Which clock is displaying ten minute after nine?",
        "Which clock is displaying twenty-ten minutes after nine?",
        "Which clock is displaying half past nine o'clock sharp?",
        "It is nine o'clock. What time will it be in one hour?",
        "It is nine o'clock.  What time will it be in one hours?",
        "It is nine o'clock.  What time was it ten minutes?",
        "It is nine o'clock.  What time is it now?",
        "It was nine o'clock.  What time will it be in an hour?",
        "It is nine o'clock.  What time will it be in an hour and?",
        "Which clock is displaying quarter after nine.",
    };
    for (const char* q : questions) {
        QuestionReader reader;
        const auto t = reader.Read(q);
        EXPECT_FALSE(t.has_value()) << q << " read as " << DialText(t.value_or(0));
        EXPECT_FALSE(reader.error().empty()) << q;
    }
}

TEST(ProblemBank, EveryQuestionIsAnsweredByExactlyOneCardOnTheAnswerCanvas) {
    for (const WordProblem& p : AllProblems()) {
        QuestionReader reader;
        const auto asked = reader.Read(p.question);
        if (!asked) {
            ADD_FAILURE() << "problem " << p.number << ": cannot read \"" << p.question
                          << "\": " << reader.error();
            continue;
        }
        std::vector<int> showing;
        const auto cards = CardsOf(p);
        for (int canvas = 1; canvas <= 3; ++canvas) {
            const int card = cards[static_cast<std::size_t>(canvas - 1)];
            if (cards::IsCard(card) && CardMinutes(card) == *asked) showing.push_back(canvas);
        }
        ASSERT_EQ(showing.size(), 1u)
            << "problem " << p.number << " asks " << DialText(*asked) << ": \"" << p.question << "\"";
        EXPECT_EQ(std::string(p.answerCanvas), std::to_string(showing[0]))
            << "problem " << p.number << " asks " << DialText(*asked);
    }
}

// Answers stated outright alongside the bank, independent of the reader.
TEST(ProblemBank, KnownAnswers) {
    struct Case { int number; int card; const char* canvas; const char* time; };
    const Case cases[] = {
        {8, 14, "2", "1:45"},    {43, 189, "3", "8:50"},   {45, 193, "2", "11:35"},
        {66, 110, "2", "11:50"}, {67, 113, "3", "11:05"},  {68, 116, "1", "5:00"},
        {69, 118, "2", "4:30"},  {87, 202, "3", "5:00"},   {91, 129, "1", "1:15"},
        {94, 147, "1", "10:45"},
    };
    for (const auto& c : cases) {
        const WordProblem* p = ProblemByNumber(c.number);
        ASSERT_NE(p, nullptr) << c.number;
        const int canvas = std::stoi(c.canvas);
        EXPECT_EQ(CardsOf(*p)[static_cast<std::size_t>(canvas - 1)], c.card) << c.number;
        EXPECT_STREQ(p->answerCanvas, c.canvas) << c.number;
        EXPECT_EQ(DialText(CardMinutes(c.card)), c.time) << c.number;
    }
    EXPECT_EQ(ProblemByNumber(43)->card2, 184);
}

TEST(ProblemBank, LookupByNumber) {
    const auto all = AllProblems();
    for (int n = 1; n <= 100; ++n) {
        ASSERT_EQ(ProblemByNumber(n), &all[static_cast<std::size_t>(n - 1)]) << n;
        EXPECT_EQ(ProblemByNumber(n)->number, n);
    }
    for (int n : {0, -1, 101, INT_MIN, INT_MAX}) EXPECT_EQ(ProblemByNumber(n), nullptr) << n;
}

TEST(ProblemBank, NumbersCardsAndCanvases) {
    const auto all = AllProblems();
    std::map<std::string, int> answerCount[2];  // problems 1-50, 51-100
    for (std::size_t i = 0; i < all.size(); ++i) {
        const WordProblem& p = all[i];
        EXPECT_EQ(p.number, static_cast<int>(i) + 1);
        const auto cards = CardsOf(p);
        for (int card : cards) {
            EXPECT_TRUE(cards::IsCard(card)) << "problem " << p.number << " card " << card;
            EXPECT_LE(card, 228) << "problem " << p.number;
        }
        EXPECT_EQ(std::set<int>(cards.begin(), cards.end()).size(), 3u) << "problem " << p.number;
        if (p.number > 50 && std::all_of(cards.begin(), cards.end(), cards::IsCard)) {
            const std::set<int> times = {CardMinutes(cards[0]), CardMinutes(cards[1]),
                                         CardMinutes(cards[2])};
            EXPECT_EQ(times.size(), 3u) << "problem " << p.number << " shows a time twice";
        }
        const std::string answer = p.answerCanvas ? p.answerCanvas : "";
        EXPECT_TRUE(answer == "1" || answer == "2" || answer == "3") << "problem " << p.number;
        ++answerCount[p.number > 50][answer];
    }
    EXPECT_EQ(answerCount[0], (std::map<std::string, int>{{"1", 18}, {"2", 16}, {"3", 16}}));
    EXPECT_EQ(answerCount[1], (std::map<std::string, int>{{"1", 23}, {"2", 13}, {"3", 14}}));
}

TEST(ProblemBank, EachProblemKeepsToOneClockFaceSaveTheKnownMixes) {
    using cards::Face;
    struct Range { int first, last, lowCard, highCard; };
    const Range ranges[] = {{1, 20, 1, 40}, {21, 40, 94, 151}, {41, 50, 185, 210}};
    for (const auto& r : ranges)
        for (int n = r.first; n <= r.last; ++n)
            for (int canvas = 1; canvas <= 3; ++canvas) {
                const int card = CardsOf(*ProblemByNumber(n))[static_cast<std::size_t>(canvas - 1)];
                if (n == 43 && canvas == 2) continue;  // the one classic card among modern ones
                EXPECT_GE(card, r.lowCard) << "problem " << n;
                EXPECT_LE(card, r.highCard) << "problem " << n;
            }

    // The odd card out: {problem, canvas}; every other problem uses one face.
    const std::map<int, int> mixed = {{43, 2}, {71, 2}, {85, 3}};
    for (const WordProblem& p : AllProblems()) {
        const auto cards = CardsOf(p);
        std::set<Face> faces;
        for (int card : cards)
            if (cards::IsCard(card)) faces.insert(cards::FaceOfCard(card));
        const auto odd = mixed.find(p.number);
        if (odd == mixed.end()) {
            EXPECT_EQ(faces.size(), 1u) << "problem " << p.number;
            continue;
        }
        const int oddCard = cards[static_cast<std::size_t>(odd->second - 1)];
        std::set<Face> others;
        for (int card : cards)
            if (card != oddCard && cards::IsCard(card)) others.insert(cards::FaceOfCard(card));
        EXPECT_EQ(others.size(), 1u) << "problem " << p.number;
        EXPECT_EQ(faces.size(), 2u) << "problem " << p.number;
    }
}

TEST(ProblemBank, QuestionTextShape) {
    for (const WordProblem& p : AllProblems()) {
        ASSERT_NE(p.question, nullptr) << "problem " << p.number;
        const std::string q = p.question;
        SCOPED_TRACE("problem " + std::to_string(p.number) + ": \"" + q + "\"");
        ASSERT_FALSE(q.empty());
        for (char ch : q) {
            const auto c = static_cast<unsigned char>(ch);
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "character " << static_cast<int>(c);
        }
        EXPECT_NE(q.front(), ' ');
        EXPECT_EQ(q.back(), '?');
        EXPECT_EQ(std::count(q.begin(), q.end(), '?'), 1);
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(q.front())));

        const bool twoSentences = p.number >= 51 && p.number <= 99;
        const std::size_t stop = q.find('.');
        if (!twoSentences) {
            EXPECT_EQ(stop, std::string::npos);
            EXPECT_EQ(q.find("  "), std::string::npos);
            continue;
        }
        ASSERT_NE(stop, std::string::npos);
        EXPECT_EQ(std::count(q.begin(), q.end(), '.'), 1);
        ASSERT_LT(stop + 3, q.size());
        EXPECT_EQ(q.substr(stop, 3), ".  ");
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(q[stop + 3])));
        // Elsewhere the words are single-spaced.
        EXPECT_EQ(q.substr(0, stop).find("  "), std::string::npos);
        EXPECT_EQ(q.substr(stop + 3).find("  "), std::string::npos);
        EXPECT_NE(q[stop - 1], ' ');
    }
}

TEST(ProblemBank, RepeatedQuestionsAreTheKnownPairs) {
    std::map<std::string, std::vector<int>> byText;
    for (const WordProblem& p : AllProblems()) byText[p.question].push_back(p.number);
    std::set<std::vector<int>> repeats;
    for (const auto& [text, numbers] : byText)
        if (numbers.size() > 1) repeats.insert(numbers);
    const std::set<std::vector<int>> expected = {
        {1, 33}, {6, 35}, {7, 36}, {13, 37}, {19, 39}, {21, 41},
        {22, 42}, {25, 43}, {30, 48}, {31, 49}, {32, 50}};
    EXPECT_EQ(repeats, expected);
}
