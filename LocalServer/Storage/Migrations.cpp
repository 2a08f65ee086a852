#include "Storage/Migrations.h"

#include <QRegularExpression>

namespace {

// Each entry is one schema version; never edit a released entry, append a new one.
const QList<QList<Migrations::Statement>>& all() {
    static const QList<QList<Migrations::Statement>> list = {
        // 1: accounts and the auth service's clients, sessions and sign-in/sign-up attempts.
        {"CREATE TABLE settings (key TEXT PRIMARY KEY, value TEXT NOT NULL)",
         "CREATE TABLE users (id TEXT PRIMARY KEY, email TEXT NOT NULL UNIQUE, email_id TEXT NOT NULL,"
         " password_hash TEXT, first_name TEXT, last_name TEXT, phone TEXT, phone_id TEXT,"
         " backup_codes TEXT NOT NULL DEFAULT '[]', created_at INTEGER NOT NULL, updated_at INTEGER NOT "
         "NULL)",
         "CREATE TABLE clients (id TEXT PRIMARY KEY, device_token TEXT NOT NULL UNIQUE, sign_in_id TEXT,"
         " sign_up_id TEXT, last_active_session_id TEXT, last_strategy TEXT, created_at INTEGER NOT NULL,"
         " updated_at INTEGER NOT NULL)",
         "CREATE TABLE sessions (id TEXT PRIMARY KEY, client_id TEXT NOT NULL, user_id TEXT NOT NULL,"
         " status TEXT NOT NULL, created_at INTEGER NOT NULL, updated_at INTEGER NOT NULL,"
         " last_active_at INTEGER NOT NULL, expire_at INTEGER NOT NULL, abandon_at INTEGER NOT NULL)",
         "CREATE INDEX sessions_client ON sessions (client_id)",
         "CREATE TABLE attempts (id TEXT PRIMARY KEY, client_id TEXT NOT NULL, kind TEXT NOT NULL,"
         " state TEXT NOT NULL, created_at INTEGER NOT NULL, updated_at INTEGER NOT NULL)",
         "CREATE TABLE mailbox (id INTEGER PRIMARY KEY AUTOINCREMENT, recipient TEXT NOT NULL,"
         " subject TEXT NOT NULL, body TEXT NOT NULL, created_at INTEGER NOT NULL)"},
        // 2: the study library.
        {"CREATE TABLE profiles (user_id TEXT PRIMARY KEY, profile TEXT NOT NULL DEFAULT '{}', timezone "
         "TEXT)",
         "CREATE TABLE documents (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, filename TEXT NOT NULL,"
         " title TEXT, document_type TEXT, file_type TEXT, content_type TEXT, file_size INTEGER NOT NULL,"
         " course_id TEXT, s3_key TEXT NOT NULL, status TEXT NOT NULL, chunk_count INTEGER,"
         " failure_reason TEXT, text TEXT, uploaded_at TEXT, created_at INTEGER NOT NULL)",
         "CREATE INDEX documents_user ON documents (user_id)",
         "CREATE TABLE courses (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, name TEXT NOT NULL,"
         " info TEXT NOT NULL DEFAULT '{}', document_id TEXT, study_plan TEXT, created_at INTEGER NOT NULL)",
         "CREATE TABLE summaries (document_id TEXT PRIMARY KEY, user_id TEXT NOT NULL, summary TEXT NOT "
         "NULL)",
         "CREATE TABLE jobs (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, job_type TEXT NOT NULL,"
         " status TEXT NOT NULL, input TEXT NOT NULL DEFAULT '{}', result TEXT, error TEXT,"
         " created_at TEXT NOT NULL, started_at TEXT, completed_at TEXT)",
         "CREATE INDEX jobs_status ON jobs (status)"},
        // 3: whether each user shows in their school's directory.
        {"CREATE TABLE directory_visibility (user_id TEXT PRIMARY KEY,"
         " school_discoverable INTEGER NOT NULL DEFAULT 0)"},
        // 4: counters of wrong guesses at codes, passwords and backup codes (GuessLimiter).
        {"CREATE TABLE guess_counters (key TEXT PRIMARY KEY, failures INTEGER NOT NULL,"
         " window_ends INTEGER NOT NULL, locked_until INTEGER NOT NULL DEFAULT 0)",
         "CREATE INDEX guess_counters_window ON guess_counters (window_ends)"},
        // 5: how many times each job has been started, so that one interrupted twice is stopped.
        {"ALTER TABLE jobs ADD COLUMN starts INTEGER NOT NULL DEFAULT 0"},
        // 6: each user's calendar feed link, kept as the SHA-256 of its token.
        {"CREATE TABLE calendar_feeds (user_id TEXT PRIMARY KEY, token_hash TEXT NOT NULL UNIQUE,"
         " issued_at INTEGER NOT NULL)"},
        // 7: study cards with their SM-2 state (times in ms; next_review_at NULL while a card is
        // new), and each course's generated vocabulary as one JSON list.
        {"CREATE TABLE flashcards (user_id TEXT NOT NULL, id TEXT NOT NULL, source TEXT NOT NULL,"
         " course_id TEXT, document_id TEXT, front TEXT NOT NULL, back TEXT NOT NULL, hint TEXT,"
         " hint_source TEXT, synonyms TEXT, antonyms TEXT, related_terms TEXT, usage_note TEXT,"
         " flagged INTEGER NOT NULL DEFAULT 0, created_at INTEGER NOT NULL,"
         " ease_factor REAL NOT NULL DEFAULT 2.5, interval_days INTEGER NOT NULL DEFAULT 0,"
         " repetitions INTEGER NOT NULL DEFAULT 0, next_review_at INTEGER, last_reviewed_at INTEGER,"
         " PRIMARY KEY (user_id, id))",
         "CREATE INDEX flashcards_due ON flashcards (user_id, COALESCE(next_review_at, created_at), id)",
         "CREATE TABLE vocabularies (course_id TEXT PRIMARY KEY, user_id TEXT NOT NULL, terms TEXT NOT NULL,"
         " generated_at TEXT NOT NULL)"},
        // 8: imported notecard decks (the text as sent, kept until the import is committed, then its
        // result); their cards go into flashcards.
        {"CREATE TABLE flashcard_imports (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, s3_key TEXT NOT NULL"
         " UNIQUE, filename TEXT, status TEXT NOT NULL, content BLOB, result TEXT, created_at INTEGER NOT "
         "NULL)",
         "CREATE INDEX flashcard_imports_user ON flashcard_imports (user_id)"},
        // 9: quiz scores and the rewards economy: each user's XP and daily streak, a credits ledger
        // whose running balance can never go below zero, the achievements earned, and each quiz
        // completion's award by attempt, so that a retried completion answers the same award.
        {"CREATE TABLE quiz_scores (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, course_id TEXT NOT NULL,"
         " score INTEGER NOT NULL, total_questions INTEGER NOT NULL, percentage REAL NOT NULL,"
         " question_type TEXT NOT NULL, difficulty TEXT NOT NULL, topic TEXT, quiz_duration INTEGER,"
         " attempt_id TEXT, created_at INTEGER NOT NULL, UNIQUE (user_id, attempt_id))",
         "CREATE INDEX quiz_scores_course ON quiz_scores (user_id, course_id, created_at)",
         "CREATE TABLE rewards_progress (user_id TEXT PRIMARY KEY, total_xp INTEGER NOT NULL DEFAULT 0,"
         " streak_days INTEGER NOT NULL DEFAULT 0, last_active_day TEXT, quizzes_completed INTEGER NOT NULL"
         " DEFAULT 0)",
         "CREATE TABLE credit_ledger (id INTEGER PRIMARY KEY AUTOINCREMENT, user_id TEXT NOT NULL,"
         " amount INTEGER NOT NULL, tier TEXT, reason TEXT NOT NULL, reference TEXT,"
         " balance_after INTEGER NOT NULL CHECK (balance_after >= 0), created_at INTEGER NOT NULL)",
         "CREATE INDEX credit_ledger_user ON credit_ledger (user_id, id)",
         "CREATE TABLE achievements (user_id TEXT NOT NULL, achievement_id TEXT NOT NULL,"
         " earned_at INTEGER NOT NULL, PRIMARY KEY (user_id, achievement_id))",
         "CREATE TABLE quiz_completions (user_id TEXT NOT NULL, attempt_id TEXT NOT NULL,"
         " award TEXT NOT NULL, created_at INTEGER NOT NULL, PRIMARY KEY (user_id, attempt_id))"},
        // 10: quiz caches and daily generation counts.
        {"CREATE TABLE quiz_caches (user_id TEXT NOT NULL, course_id TEXT NOT NULL, question_type TEXT NOT "
         "NULL,"
         " difficulty TEXT NOT NULL, topic TEXT NOT NULL, num_questions INTEGER NOT NULL, quiz TEXT NOT NULL,"
         " attempts INTEGER NOT NULL, generated_at INTEGER NOT NULL,"
         " PRIMARY KEY (user_id, course_id, question_type, difficulty, topic, num_questions))",
         "CREATE TABLE quiz_generations (user_id TEXT NOT NULL, course_id TEXT NOT NULL, day TEXT NOT NULL,"
         " count INTEGER NOT NULL, PRIMARY KEY (user_id, course_id, day))"},
        // 11: stored mnemonics: the guide as answered (its MnemonicResponse record), with the
        // document or course it was made from.
        {"CREATE TABLE mnemonics (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, document_id TEXT, course_id "
         "TEXT,"
         " mnemonic_type TEXT NOT NULL, difficulty TEXT NOT NULL, record TEXT NOT NULL, created_at TEXT NOT "
         "NULL)",
         "CREATE INDEX mnemonics_user ON mnemonics (user_id)"},
        // 12: study sessions: each timed stretch of study, open until it ends with the seconds the
        // app counted (never more than the session's own length).
        {"CREATE TABLE study_sessions (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, course_id TEXT,"
         " verification_method TEXT NOT NULL, started_at INTEGER NOT NULL, ended_at INTEGER,"
         " active_seconds INTEGER, notes TEXT)",
         "CREATE INDEX study_sessions_user ON study_sessions (user_id, started_at)"},
        // 13: devices and in-app notifications: each push device token with the user and the
        // session that registered it, and each user's notifications (times in ms; read_at NULL
        // while unread). An event key reports one event once per user; NULL keys never clash.
        {"CREATE TABLE devices (device_token TEXT PRIMARY KEY, user_id TEXT NOT NULL,"
         " session_id TEXT NOT NULL, platform TEXT NOT NULL, app_version TEXT,"
         " registered_at INTEGER NOT NULL, updated_at INTEGER NOT NULL)",
         "CREATE INDEX devices_user ON devices (user_id)",
         "CREATE TABLE notifications (seq INTEGER PRIMARY KEY AUTOINCREMENT, id TEXT NOT NULL UNIQUE,"
         " user_id TEXT NOT NULL, type TEXT NOT NULL, title TEXT NOT NULL, message TEXT NOT NULL,"
         " related_id TEXT, metadata TEXT NOT NULL DEFAULT '{}', event_key TEXT,"
         " created_at INTEGER NOT NULL, read_at INTEGER, UNIQUE (user_id, event_key))",
         "CREATE INDEX notifications_user ON notifications (user_id, created_at, seq)"},
        // 14: the rewards marketplace: each reward bought, with the catalogue item's name, type,
        // uses and expiry as bought, the uses spent and what a used mnemonic reward produced; and
        // each study song made with a song reward ("composing", then "ready" or "failed"). A
        // use is spent only by a ready song, so a reward never spends more uses than it has.
        {"CREATE TABLE user_rewards (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, reward_id TEXT NOT NULL,"
         " reward_name TEXT NOT NULL, reward_type TEXT NOT NULL, credit_cost INTEGER NOT NULL,"
         " usage_limit INTEGER, usage_count INTEGER NOT NULL DEFAULT 0"
         " CHECK (usage_limit IS NULL OR usage_count <= usage_limit),"
         " fulfillment_data TEXT, purchased_at INTEGER NOT NULL, expires_at INTEGER)",
         "CREATE INDEX user_rewards_user ON user_rewards (user_id, purchased_at)",
         "CREATE TABLE reward_songs (id TEXT PRIMARY KEY, user_id TEXT NOT NULL,"
         " user_reward_id TEXT NOT NULL, status TEXT NOT NULL, document_id TEXT NOT NULL, title TEXT,"
         " course_name TEXT, genre TEXT NOT NULL, style TEXT, lyrics TEXT, error TEXT,"
         " created_at INTEGER NOT NULL, finished_at INTEGER)",
         "CREATE INDEX reward_songs_reward ON reward_songs (user_reward_id, created_at)"},
        // 15: the For You feed: what each user did with a card ("engaged" or "skipped", times in
        // ms), the cards each user likes, and the concept cards read from each processed document
        // (a JSON list of term, body and tier), so that a document's text is read once.
        {"CREATE TABLE foryou_events (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, card_id TEXT NOT NULL,"
         " concept_id TEXT NOT NULL, event_type TEXT NOT NULL, created_at INTEGER NOT NULL)",
         "CREATE INDEX foryou_events_user ON foryou_events (user_id, event_type, created_at)",
         "CREATE TABLE foryou_likes (user_id TEXT NOT NULL, card_id TEXT NOT NULL, concept_id TEXT NOT NULL,"
         " created_at INTEGER NOT NULL, PRIMARY KEY (user_id, card_id))",
         "CREATE INDEX foryou_likes_card ON foryou_likes (card_id)",
         "CREATE TABLE foryou_concepts (document_id TEXT PRIMARY KEY, user_id TEXT NOT NULL, drafts TEXT NOT "
         "NULL)"},
        // 16: reading guides: each user's latest GuidedReadingPlan per course, document (empty for
        // the whole course) and style.
        {"CREATE TABLE guided_reading_plans (user_id TEXT NOT NULL, course_id TEXT NOT NULL,"
         " document_id TEXT NOT NULL, template_type TEXT NOT NULL, plan TEXT NOT NULL,"
         " generated_at INTEGER NOT NULL, PRIMARY KEY (user_id, course_id, document_id, template_type))"},
        // 17: device tokens and backup codes kept as hashes. The rows written before hold plain
        // values until the start after this migration hashes them, with the server's secret at
        // hand, and clears the flag set here (LocalServer::hashPlainSecrets).
        {"ALTER TABLE clients RENAME COLUMN device_token TO token_hash",
         "ALTER TABLE devices RENAME COLUMN device_token TO token_hash",
         "ALTER TABLE users RENAME COLUMN backup_codes TO backup_code_hashes",
         "INSERT INTO settings (key, value) VALUES ('plain_secrets', '1')"},
        // 18: each quiz handed to a user, with its questions (the answer key), when it was last
        // handed out (ms) and the attempt that completed it, since a quiz earns once; completions
        // by time for the hourly limit. Cached quizzes from before carry no id and are dropped.
        {"CREATE TABLE issued_quizzes (id TEXT PRIMARY KEY, user_id TEXT NOT NULL, course_id TEXT NOT NULL,"
         " question_type TEXT NOT NULL, difficulty TEXT NOT NULL, questions TEXT NOT NULL,"
         " served_at INTEGER NOT NULL, completed_attempt TEXT)",
         "CREATE INDEX issued_quizzes_user ON issued_quizzes (user_id)",
         "CREATE INDEX quiz_completions_time ON quiz_completions (user_id, created_at)",
         "DELETE FROM quiz_caches"},
        // 19: each job names the document or song its input is about in a column of its own, so
        // that they are found without reading the JSON; quiz scores keep the order they were saved
        // in. PostgreSQL came with this version, so only SQLite has older rows to fill in.
        {"ALTER TABLE jobs ADD COLUMN subject_id TEXT",
         "CREATE INDEX jobs_subject ON jobs (user_id, subject_id)",
         Migrations::only(
             Database::Engine::SQLite,
             "UPDATE jobs SET subject_id = COALESCE(NULLIF(json_extract(input, '$.document_id'), ''),"
             " NULLIF(json_extract(input, '$.song_id'), '')) WHERE json_valid(input)"),
         "ALTER TABLE quiz_scores ADD COLUMN seq INTEGER NOT NULL DEFAULT 0",
         Migrations::only(Database::Engine::SQLite, "UPDATE quiz_scores SET seq = rowid")},
        // 20: leases, so that any server process on the database can run any job: the process
        // holding a job and until when (ms of the server clock); when a lease runs out without
        // being renewed (its process was killed), another process takes the job over.
        {"ALTER TABLE jobs ADD COLUMN lease_owner TEXT",
         "ALTER TABLE jobs ADD COLUMN lease_expires INTEGER NOT NULL DEFAULT 0"},
    };
    return list;
}

} // namespace

Migrations::Statement Migrations::only(Database::Engine engine, const char* sql) {
    Statement statement(sql);
    statement.only = engine;
    return statement;
}

int Migrations::latest() {
    return int(all().size());
}

QStringList Migrations::statements(int version, Database::Engine engine) {
    QStringList result;
    for (const Statement& statement : all().at(version - 1)) {
        if (statement.only && *statement.only != engine)
            continue;
        const bool translate = engine == Database::Engine::PostgreSQL && !statement.only;
        result.append(translate ? forPostgreSql(statement.sql) : statement.sql);
    }
    return result;
}

QString Migrations::forPostgreSql(const QString& sql) {
    // Whole words outside quotes: the migrations quote only short values, which name no type.
    static const QRegularExpression autoincrement("\\bINTEGER PRIMARY KEY AUTOINCREMENT\\b");
    static const QRegularExpression integer("\\bINTEGER\\b");
    static const QRegularExpression real("\\bREAL\\b");
    static const QRegularExpression blob("\\bBLOB\\b");
    QString result = sql;
    result.replace(autoincrement, "BIGSERIAL PRIMARY KEY");
    result.replace(integer, "BIGINT");
    result.replace(real, "DOUBLE PRECISION");
    result.replace(blob, "BYTEA");
    return result;
}
