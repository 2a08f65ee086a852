#include "Rewards/RewardsRules.h"
#include "Rewards/AchievementRules.h"
#include "Rewards/DailyStreak.h"
#include "Rewards/LevelTable.h"
#include "Rewards/QuizAnswers.h"

#include <QDateTime>
#include <QJsonObject>
#include <QTest>

// The rewards economy's rules: the worked examples of LocalServer/README.md ("Rewards economy"),
// the score boundaries of the credit tiers, the streak steps, the level table, and local days
// for the streak in New York around the spring-forward night of March 8, 2026.
class RewardsRulesTest : public QObject {
    Q_OBJECT

    static QStringList ids(const QList<AchievementRules::Achievement>& achievements) {
        QStringList list;
        for (const auto& achievement : achievements)
            list.append(achievement.id);
        return list;
    }

private slots:
    void workedExamples_data() {
        QTest::addColumn<int>("correct");
        QTest::addColumn<double>("percentage");
        QTest::addColumn<QString>("difficulty");
        QTest::addColumn<int>("streak");
        QTest::addColumn<int>("xp");
        QTest::addColumn<QString>("tier");
        QTest::addColumn<int>("credits");
        QTest::newRow("8 of 10, medium, first day") << 8 << 80.0 << "medium" << 1 << 120 << "gold" << 24;
        QTest::newRow("10 of 10, hard, day 7") << 10 << 100.0 << "hard" << 7 << 281 << "platinum" << 56;
        QTest::newRow("5 of 10, easy, day 3") << 5 << 50.0 << "easy" << 3 << 55 << "bronze" << 6;
        QTest::newRow("19 of 20, medium, day 14") << 19 << 95.0 << "medium" << 14 << 378 << "platinum" << 54;
        QTest::newRow("0 of 5, hard, day 30") << 0 << 0.0 << "hard" << 30 << 0 << "bronze" << 15;
    }
    void workedExamples() {
        QFETCH(int, correct);
        QFETCH(double, percentage);
        QFETCH(QString, difficulty);
        QFETCH(int, streak);
        const RewardsRules::Award award = RewardsRules::award({correct, percentage, difficulty}, streak);
        QTEST(award.xp, "xp");
        QTEST(award.tier, "tier");
        QTEST(award.credits, "credits");
        QCOMPARE(award.pointValue, RewardsRules::pointValue(award.tier));
    }

    void tiersAndBonusesChangeExactlyAtTheirBoundaries() {
        const QList<std::pair<double, QString>> grades{
            {0, "bronze"}, {59.99, "bronze"}, {60, "silver"},   {79.99, "silver"},
            {80, "gold"},  {94.99, "gold"},   {95, "platinum"}, {100, "platinum"},
        };
        for (const auto& [percentage, tier] : grades)
            QCOMPARE(RewardsRules::tier(percentage), tier);
        QCOMPARE(RewardsRules::pointValue("bronze"), 5);
        QCOMPARE(RewardsRules::pointValue("platinum"), 30);

        // The great-score bonus starts at 80 %, the perfect one only at 100 %.
        QCOMPARE(RewardsRules::award({7, 79.99, "easy"}, 1).xp, 70);
        QCOMPARE(RewardsRules::award({8, 80, "easy"}, 1).xp, 100);
        QCOMPARE(RewardsRules::award({9, 99.99, "easy"}, 1).xp, 110);
        QCOMPARE(RewardsRules::award({10, 100, "easy"}, 1).xp, 150);
    }

    void multipliersFollowTheirTables() {
        QCOMPARE(RewardsRules::difficultyPercent("easy"), 100);
        QCOMPARE(RewardsRules::difficultyPercent("medium"), 120);
        QCOMPARE(RewardsRules::difficultyPercent("hard"), 150);
        QCOMPARE(RewardsRules::difficultyPercent("Hard"), std::nullopt);
        QCOMPARE(RewardsRules::difficultyPercent(""), std::nullopt);
        const QList<std::pair<int, int>> steps{{0, 100},  {2, 100},  {3, 110},  {6, 110},  {7, 125},
                                               {13, 125}, {14, 150}, {29, 150}, {30, 200}, {365, 200}};
        for (const auto& [days, percent] : steps)
            QCOMPARE(RewardsRules::streakPercent(days), percent);
        const RewardsRules::Award award = RewardsRules::award({1, 10, "medium"}, 14);
        QCOMPARE(award.difficultyMultiplier, 1.2);
        QCOMPARE(award.streakMultiplier, 1.5);
        // Halves round up: 10 × 1.25 = 12.5.
        QCOMPARE(RewardsRules::award({1, 10, "easy"}, 7).xp, 13);
    }

    void levelsStartAtTheirThresholds() {
        const LevelTable::Standing start = LevelTable::standing(0);
        QCOMPARE(start.level, 1);
        QCOMPARE(start.name, "Novice");
        QCOMPARE(start.xpToNextLevel, 100);
        QCOMPARE(LevelTable::standing(99).level, 1);
        QCOMPARE(LevelTable::standing(100).name, "Learner");

        // The README's example: 1,000 XP is level 5, 100 into its 500.
        const LevelTable::Standing achiever = LevelTable::standing(1000);
        QCOMPARE(achiever.level, 5);
        QCOMPARE(achiever.name, "Achiever");
        QCOMPARE(achiever.xpIntoLevel, 100);
        QCOMPARE(achiever.levelSpan, 500);
        QCOMPARE(achiever.xpToNextLevel, 400);

        const LevelTable::Standing top = LevelTable::standing(5600);
        QCOMPARE(top.level, LevelTable::levelCount);
        QCOMPARE(top.name, "Legend");
        QCOMPARE(top.xpIntoLevel, 600);
        QCOMPARE(top.levelSpan, 600);
        QCOMPARE(top.xpToNextLevel, 0);
        for (int level = 2; level <= LevelTable::levelCount; ++level)
            QVERIFY(LevelTable::threshold(level) > LevelTable::threshold(level - 1));
    }

    // Answers are graded as the app grades them: choice answers by the decimal position alone,
    // typed ones trimmed and lower-cased against the accepted texts, else the first option.
    void answersAreGradedAsTheAppGradesThem() {
        const QJsonArray choice{QJsonObject{{"options", QJsonArray{"A", "B"}}, {"correct_answer", 1}}};
        const auto right = [&](const QString& answer) {
            return QuizAnswers::correctCount("multiple_choice", choice, {answer}) == 1;
        };
        QVERIFY(right("1") && right("+1") && right("01"));
        for (const char* wrong : {"0", " 1", "1.0", "B", "", "-", "99999999999999999999"})
            QVERIFY2(!right(wrong), wrong);
        QCOMPARE(QuizAnswers::correctCount("true_false", {QJsonObject{}}, {"0"}), 0);

        const QJsonArray typed{QJsonObject{{"correct_answers", QJsonArray{"Turgor Pressure", "turgor"}}},
                               QJsonObject{{"options", QJsonArray{"Vacuole", "Cell"}}}, QJsonObject{}};
        QCOMPARE(QuizAnswers::correctCount("fill_in_blank", typed, {"  turgor pressure\n", "VACUOLE ", "x"}),
                 2);
        QCOMPARE(QuizAnswers::correctCount("fill_in_blank", typed, {"Turgor", "cell", ""}), 1);
        QCOMPARE(QuizAnswers::correctCount("fill_in_blank", typed, {" ", "vacuoles", " "}), 0);
    }

    // Freezes cover missed days one each, and only all of them together.
    void freezesCoverMissedDays() {
        const QDate monday(2026, 3, 2);
        const DailyStreak streak{5, monday};
        int spent = -1;
        QCOMPARE(streak.afterQuizOn(monday.addDays(1), 3, &spent).days, 6); // no day missed
        QCOMPARE(spent, 0);
        QCOMPARE(streak.afterQuizOn(monday.addDays(2), 1, &spent).days, 6); // one missed, one freeze
        QCOMPARE(spent, 1);
        QCOMPARE(streak.afterQuizOn(monday.addDays(3), 2, &spent).days, 6);
        QCOMPARE(spent, 2);
        QCOMPARE(streak.afterQuizOn(monday.addDays(3), 1, &spent).days, 1); // two missed, one freeze
        QCOMPARE(spent, 0);
        QCOMPARE(streak.afterQuizOn(monday, 1, &spent).days, 5); // the same day
        QCOMPARE(spent, 0);
        QCOMPARE(DailyStreak{}.afterQuizOn(monday, 2, &spent).days, 1); // the first quiz
        QCOMPARE(spent, 0);
        // Reported while the days missed before today are covered.
        QCOMPARE(streak.daysOn(monday.addDays(2), 1), 5);
        QCOMPARE(streak.daysOn(monday.addDays(3), 1), 0);
        QCOMPARE(streak.daysOn(monday.addDays(3), 2), 5);
    }

    void streaksCountLocalDays() {
        const QDate saturday(2026, 3, 7);
        DailyStreak streak;
        QCOMPARE(streak.daysOn(saturday), 0);
        streak = streak.afterQuizOn(saturday);
        QCOMPARE(streak.days, 1);
        // A second quiz the same day counts once; the next day continues.
        QCOMPARE(streak.afterQuizOn(saturday).days, 1);
        streak = streak.afterQuizOn(saturday.addDays(1));
        QCOMPARE(streak.days, 2);
        // The streak stands through the next day, and is gone once a whole day passes.
        QCOMPARE(streak.daysOn(saturday.addDays(2)), 2);
        QCOMPARE(streak.daysOn(saturday.addDays(3)), 0);
        // A missed day starts again at 1.
        QCOMPARE(streak.afterQuizOn(saturday.addDays(3)).days, 1);
        // A day before the last one (the user moved west) changes nothing.
        QCOMPARE(streak.afterQuizOn(saturday).days, 2);

        // A minute either side of local midnight, west and east of UTC, across each one's clock
        // change: New York goes forward on 8 March, Auckland back on 5 April.
        const struct {
            const char* zone;
            QDateTime utc;
            QDate day;
        } days[] = {
            {"America/New_York", QDateTime(QDate(2026, 3, 8), QTime(4, 59), Qt::UTC), QDate(2026, 3, 7)},
            {"America/New_York", QDateTime(QDate(2026, 3, 8), QTime(5, 0), Qt::UTC), QDate(2026, 3, 8)},
            {"America/New_York", QDateTime(QDate(2026, 3, 9), QTime(3, 59), Qt::UTC), QDate(2026, 3, 8)},
            {"America/New_York", QDateTime(QDate(2026, 3, 9), QTime(4, 0), Qt::UTC), QDate(2026, 3, 9)},
            {"Pacific/Auckland", QDateTime(QDate(2026, 4, 4), QTime(10, 59), Qt::UTC), QDate(2026, 4, 4)},
            {"Pacific/Auckland", QDateTime(QDate(2026, 4, 4), QTime(11, 0), Qt::UTC), QDate(2026, 4, 5)},
            {"Pacific/Auckland", QDateTime(QDate(2026, 4, 5), QTime(11, 59), Qt::UTC), QDate(2026, 4, 5)},
            {"Pacific/Auckland", QDateTime(QDate(2026, 4, 5), QTime(12, 0), Qt::UTC), QDate(2026, 4, 6)},
        };
        for (const auto& [zone, utc, day] : days)
            QCOMPARE(DailyStreak::localDay(utc.toMSecsSinceEpoch(), QTimeZone(zone)), day);
    }

    void achievementsFollowTheirConditions() {
        QCOMPARE(ids(AchievementRules::metBy({1, 70, "easy", 1, 1})), QStringList{"first_quiz"});
        QCOMPARE(ids(AchievementRules::metBy({2, 100, "medium", 1, 1})),
                 (QStringList{"first_quiz", "perfect_score"}));
        QCOMPARE(ids(AchievementRules::metBy({10, 100, "hard", 7, 5})),
                 (QStringList{"first_quiz", "quizzes_10", "perfect_score", "hard_perfect", "streak_3",
                              "streak_7", "level_5"}));
        QCOMPARE(ids(AchievementRules::metBy({9, 99.5, "hard", 2, 4})), QStringList{"first_quiz"});
        // Ids are unique: the store awards each once by id.
        const QStringList all = ids(AchievementRules::all());
        QCOMPARE(QSet<QString>(all.begin(), all.end()).size(), all.size());
    }
};

QTEST_GUILESS_MAIN(RewardsRulesTest)
#include "RewardsRulesTest.moc"
