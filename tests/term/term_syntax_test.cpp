// The shape of the language: precedence, signs, rewrites, the operator scan,
// closers, factors, function look-up and character sets.
#include <gtest/gtest.h>

#include <cmath>

#include "term/eval_helpers.h"

namespace didod::testing {
namespace {

TEST(TermPrecedence, HigherLevelsBindTighterAndEqualLevelsGoLeftToRight) {
  ExpectTerm("2+3*4", 14, 0);
  ExpectTerm("2*3+4", 10, 0);
  ExpectTerm("2-3-4", -5, 0);
  ExpectTerm("2^3^2", 64, 0);
  ExpectTerm("64/4/2", 8, 0);
  ExpectTerm("2+3^2*2", 20, 0);
  ExpectTerm("2*3^2+1", 19, 0);
  ExpectTerm("1+2*3^2-4/2", 17, 0);
  // All six operators of level 1 share it: 8-2&4 is (8-2)&4.
  ExpectTerm("8-2&4", 5, 0);
  ExpectTerm("1+9<5", 5, 0);
  ExpectTerm("1+2>5-1", 4, 0);
  // "%" and "~" bind like "*": 2+7%4 is 2+3, 2*5~2 is 10~2.
  ExpectTerm("2+7%4", 5, 0);
  ExpectTerm("2*5~2", 45, 0);
  ExpectTerm("2+27\\3", 5, 0, 1.0, 1e-12);
}

TEST(TermPrecedence, ParenthesesRestartTheLevels) {
  ExpectTerm("(2+3)*4", 20, 0);
  ExpectTerm("2*(3+4)", 14, 0);
  ExpectTerm("((2))", 2, 0);
  ExpectTerm("((1+2)*(3+4))^2", 441, 0);
  ExpectTerm("2^(1+1)^3", 64, 0);
}

TEST(TermSign, MinusNegatesTheFactorAloneBeforeAnyOperator) {
  ExpectTerm("2*-3", -6, 0);
  ExpectTerm("(-2^2)", 4, 0);
  ExpectTerm("(-2)^2", 4, 0);
  ExpectTerm("2^-2", 0.25, 0);
  ExpectTerm("2--3", 5, 0);
  ExpectTerm("(-X)^2", 9, 0, 3.0);
  // One sign only: a second "-" stands where a factor is expected.
  EXPECT_EQ(Eval("2*--3").code, 1);
}

TEST(TermSign, LeadingSignAndMinusXPowerBecomeSubtractions) {
  ExpectTerm("-2^2", -4, 0);
  ExpectTerm("+5", 5, 0);
  ExpectTerm("-X^2", -9, 0, 3.0);
  ExpectTerm("(-X^2)", -9, 0, 3.0);
  ExpectTerm("(-X^3)", -8, 0, 2.0);
  ExpectTerm("2*(-X^2)+1", -17, 0, 3.0);
  ExpectTerm("(-X^2)+(-X^2)", -8, 0, 2.0);
  ExpectTerm("--3", 3, 0);
  // A "+" anywhere but at the start is no factor.
  EXPECT_EQ(Eval("2*+3").code, 1);
  EXPECT_EQ(Eval("(+3)").code, 1);
}

TEST(TermRewrites, CommasAndBlanks) {
  ExpectTerm("0,8", 0.8, 0);
  ExpectTerm("1,5+1,5", 3, 0);
  ExpectTerm(" 1 + 2 ", 3, 0);
  ExpectTerm("S QR T(4)", 2, 0);
  ExpectTerm("2 3", 23, 0);
  // Blanks go before the leading sign is looked at.
  ExpectTerm(" - 2^2", -4, 0);
  ExpectTerm("(- X^2)", -4, 0, 2.0);
  // Only the blank itself (code 32) is removed.
  EXPECT_EQ(Eval("1\t+2").code, 1);
  // A text of blanks shrinks to one blank, which is no factor.
  ExpectTerm(" ", 0, 1);
  ExpectTerm("    ", 0, 1);
}

TEST(TermScan, TheLastCharacterIsNeverAnOperator) {
  ExpectTerm("2+", 2, 0);
  ExpectTerm("2Z", 2, 0);
  ExpectTerm("2*", 2, 0);
  ExpectTerm("2+3)", 5, 0);
  ExpectTerm("(2+3", 5, 0);
  ExpectTerm("|-3", 3, 0);
  ExpectTerm("|-3|", 3, 0);
  ExpectTerm("2+3|", 5, 0);
}

TEST(TermScan, AnyOtherCharacterBeforeTheEndIsASyntaxError) {
  ExpectTerm("2Z+1", 2, 1);
  ExpectTerm("1E3", 1, 1);
  ExpectTerm("2*(3+4)5", 14, 0);
  EXPECT_EQ(Eval("2*(3+4)5+1").code, 1);
  EXPECT_EQ(Eval("(2Z+3)+1").code, 1);
  EXPECT_EQ(Eval("2$+1").code, 1);
}

TEST(TermScan, ClosersCloseAnyOpenerAndEndTheTermAtTheTop) {
  ExpectTerm("(2+3]", 5, 0);
  ExpectTerm("[2+3)", 5, 0);
  ExpectTerm("(2+3|*2", 10, 0);
  ExpectTerm("|2-5)*2", 6, 0);
  ExpectTerm("|2|+|3|", 5, 0);
  ExpectTerm("|2-5|*|1-3|", 6, 0);
  // A closer at the outermost level ends the evaluation; the rest is unread.
  ExpectTerm("2)+5", 2, 0);
  ExpectTerm("2]*7", 2, 0);
  ExpectTerm("1+2)Z!?", 3, 0);
  // A closer also collapses pending operators of every level.
  ExpectTerm("(1+2*3^2)-1", 18, 0);
}

TEST(TermFactors, Constants) {
  ExpectTerm("PI", 3.141592653589793, 0);
  ExpectTerm("PHI", 1.618033988749895, 0);
  ExpectTerm("2*PI", 2 * 3.141592653589793, 0);
  ExpectTerm("\xC9", 2.718281828459045, 0);  // É in Windows-1252
  ExpectTerm("X", 2.5, 0, 2.5);
  ExpectTerm("X*X", 2, 0, -std::sqrt(2.0), 1e-15);
  // "PIX": PI, then X as the last character, unread.
  ExpectTerm("PIX", 3.141592653589793, 0);
}

TEST(TermFactors, ParametersAreZeroInThisProgram) {
  ExpectTerm("P", 0, 0);
  ExpectTerm("P+1", 1, 0);
  ExpectTerm("Q", 0, 0);
  ExpectTerm("R", 0, 0);
  ExpectTerm("K1", 0, 0);
  ExpectTerm("K5+2", 2, 0);
  // "K" takes the next character whatever it is.
  ExpectTerm("K7", 0, 0);
  ExpectTerm("KA+1", 1, 0);
  ExpectTerm("K", 0, 0);
  // "PH" is not PHI: P, then H where an operator belongs.
  EXPECT_EQ(Eval("PH+1").code, 1);
}

TEST(TermFactors, NumbersHaveNoExponentAndTakeTheLeadingDecimal) {
  ExpectTerm(".5", 0.5, 0);
  ExpectTerm("5.", 5, 0);
  ExpectTerm("007", 7, 0);
  ExpectTerm("0.1", 0.1, 0);
  // Malformed runs are read up to their first flaw, without an error.
  ExpectTerm("1.2.3", 1.2, 0);
  ExpectTerm(".", 0, 0);
  ExpectTerm("1\xE9" "5+1", 2, 0);  // é belongs to the run
  ExpectTerm("12345678901234567890", 1e10, 4);
}

TEST(TermFactors, LettersWithoutAMeaningAreSyntaxErrors) {
  ExpectTerm("U", 0, 1);
  ExpectTerm("Y+1", 0, 1);
  ExpectTerm("Z", 0, 1);
  ExpectTerm("", 0, 1);
  ExpectTerm("2*", 2, 0);
  EXPECT_EQ(Eval("2*Z+1").code, 1);
  // The caller upper-cases; a lower-case name is not a function.
  EXPECT_EQ(Eval("sqrt(4)").code, 1);
}

TEST(TermFunctions, NamesAreFoundAsPrefixesByTheirFirstOccurrence) {
  ExpectTerm("S(3)", 9, 0);        // SQR
  ExpectTerm("SQ(3)", 9, 0);       // SQR
  ExpectTerm("SQRT(9)", 3, 0);
  ExpectTerm("CO(0)", 1, 0);       // COS comes before ARCCOS
  ExpectTerm("E(0)", 1, 0);        // EXP
  ExpectTerm("L(1)", 0, 0);        // LN
  ExpectTerm("W(16)", 4, 0);       // WURZEL
  ExpectTerm("AR(1)", 0, 0);       // ARCCOS
  ExpectTerm("GAMMAL(1)", 0, 0, 1.0, 1e-9);  // GAMMALN
  ExpectTerm("WURZEL3(27)", 3, 0);
  // Occurring first inside another name is not a function.
  ExpectTerm("QR(4)", 0, 1);
  ExpectTerm("T(1)", 0, 1);   // inside SQRT
  ExpectTerm("IN(1)", 0, 1);  // inside SIN
  ExpectTerm("G(1)", 0, 1);   // inside LG
  ExpectTerm("SINX(1)", 0, 1);
  ExpectTerm("SIN COS(1)", 0, 1);  // blanks go first: "SINCOS"
}

TEST(TermFunctions, TheNameRunsToTheNextParenthesis) {
  ExpectTerm("SIN(0)+1", 1, 0);
  ExpectTerm("COS(0)*COS(0)", 1, 0);
  ExpectTerm("SQRT(SQRT(16))", 2, 0);
  ExpectTerm("SQRT(4", 2, 0);
  ExpectTerm("[SQRT(4)]+1", 3, 0);
  // Brackets do not open an argument: the name would be "SQRT[4]+1".
  ExpectTerm("SQRT[4]+1", 0, 1);
  // Without "(" the name takes the rest and the argument is missing.
  ExpectTerm("COS", 1, 1);
  // "S+1(2)" is looked up as the name "S+1".
  EXPECT_EQ(Eval("S+1(2)").code, 1);
  // The argument of an unknown name is read, and cannot clear its error.
  ExpectTerm("QR(SGN(1))", 0, 1);
}

TEST(TermCharacters, EachCallerSaysTheEncodingOfItsText) {
  const auto utf8 = [](const std::string& text) { return Eval(text, 1.0, TermEncoding::Utf8); };
  EXPECT_DOUBLE_EQ(utf8("\xC3\x89").value, 2.718281828459045);  // É
  EXPECT_DOUBLE_EQ(utf8("2\xC2\xB7" "3").value, 6);              // the middle dot
  ExpectTerm("2\xB7" "3", 6, 0);                                // the same in Windows-1252
  EXPECT_DOUBLE_EQ(utf8("1\xC3\xA9" "5+1").value, 2);            // é inside a number
  // Valid Windows-1252 that also reads as UTF-8 is taken as it was handed over.
  ExpectTerm("\xC9\xB7" "2", 2 * 2.718281828459045, 0);        // É·2
  EXPECT_EQ(utf8("\xC9\xB7" "2").code, 1);                      // the one character U+0277
  // A character beyond Latin-1 counts once: as the last character it is unread.
  EXPECT_EQ(utf8("2\xE2\x82\xAC").code, 0);  // 2€
  EXPECT_EQ(utf8("2\xE2\x82\xAC+1").code, 1);
  // Broken UTF-8 is a character that is not allowed where it stands.
  EXPECT_EQ(utf8("\xC9+1").code, 1);
  ExpectTerm("\xC9+1", 2.718281828459045 + 1, 0);
}

TEST(TermCharacters, EAcuteOnlyContinuesANumber) {
  ExpectTerm("\xE9", 0, 1);
  ExpectTerm("\xE9" "5+1", 0, 1);
  ExpectTerm("2*\xE9" "5", 0, 1);
  ExpectTerm("1\xE9" "5", 1, 0);
  EXPECT_EQ(Eval("\xC3\xA9" "5", 1.0, TermEncoding::Utf8).code, 1);
}

}  // namespace
}  // namespace didod::testing
