#include "Interests/InterestCatalog.h"

#include <QVariantMap>

const QList<InterestCatalog::Category>& InterestCatalog::all() {
    static const QList<Category> categories{
        {QStringLiteral("TV Shows"),
         QStringLiteral("tv"),
         {QStringLiteral("Grey's Anatomy"), QStringLiteral("The Office"), QStringLiteral("Friends"),
          QStringLiteral("Breaking Bad"), QStringLiteral("Stranger Things"),
          QStringLiteral("Game of Thrones"), QStringLiteral("The Mandalorian"), QStringLiteral("Suits"),
          QStringLiteral("Brooklyn Nine-Nine"), QStringLiteral("The Last of Us"), QStringLiteral("Wednesday"),
          QStringLiteral("House M.D."), QStringLiteral("Ted Lasso"), QStringLiteral("Black Mirror")}},
        {QStringLiteral("Movies"),
         QStringLiteral("film"),
         {QStringLiteral("Harry Potter"), QStringLiteral("Star Wars"), QStringLiteral("The Avengers"),
          QStringLiteral("Inception"), QStringLiteral("The Lord of the Rings"), QStringLiteral("Spider-Man"),
          QStringLiteral("Barbie"), QStringLiteral("Oppenheimer"), QStringLiteral("Interstellar"),
          QStringLiteral("The Dark Knight"), QStringLiteral("Dune"), QStringLiteral("Top Gun"),
          QStringLiteral("Jurassic Park"), QStringLiteral("Frozen")}},
        {QStringLiteral("Cartoons & Anime"),
         QStringLiteral("sparkles.tv"),
         {QStringLiteral("Avatar: The Last Airbender"), QStringLiteral("Naruto"), QStringLiteral("One Piece"),
          QStringLiteral("Pokémon"), QStringLiteral("Demon Slayer"), QStringLiteral("Dragon Ball Z"),
          QStringLiteral("Rick and Morty"), QStringLiteral("SpongeBob"), QStringLiteral("My Hero Academia"),
          QStringLiteral("Attack on Titan"), QStringLiteral("Adventure Time"),
          QStringLiteral("Gravity Falls"), QStringLiteral("The Simpsons"), QStringLiteral("Studio Ghibli")}},
        {QStringLiteral("Fantasy & Sci-Fi"),
         QStringLiteral("wand.and.stars"),
         {QStringLiteral("Hogwarts"), QStringLiteral("Middle-earth"), QStringLiteral("Westeros"),
          QStringLiteral("The Marvel Universe"), QStringLiteral("Star Trek"), QStringLiteral("Percy Jackson"),
          QStringLiteral("Narnia"), QStringLiteral("The Witcher"), QStringLiteral("Dungeons & Dragons"),
          QStringLiteral("Halo"), QStringLiteral("Cyberpunk"), QStringLiteral("Doctor Who")}},
        {QStringLiteral("Pop Culture"),
         QStringLiteral("music.mic"),
         {QStringLiteral("Taylor Swift"), QStringLiteral("Beyoncé"), QStringLiteral("BTS"),
          QStringLiteral("Drake"), QStringLiteral("Marvel"), QStringLiteral("TikTok"),
          QStringLiteral("Billie Eilish"), QStringLiteral("Bad Bunny"), QStringLiteral("Olivia Rodrigo"),
          QStringLiteral("Sabrina Carpenter"), QStringLiteral("Formula 1"), QStringLiteral("Met Gala")}},
        {QStringLiteral("Places"),
         QStringLiteral("globe.americas"),
         {QStringLiteral("New York City"), QStringLiteral("Tokyo"), QStringLiteral("Paris"),
          QStringLiteral("London"), QStringLiteral("Los Angeles"), QStringLiteral("Rome"),
          QStringLiteral("Dubai"), QStringLiteral("Hawaii"), QStringLiteral("Las Vegas"),
          QStringLiteral("San Francisco"), QStringLiteral("Disney World"),
          QStringLiteral("The Grand Canyon")}},
        {QStringLiteral("Sports"),
         QStringLiteral("sportscourt"),
         {QStringLiteral("Basketball"), QStringLiteral("Soccer"), QStringLiteral("Football"),
          QStringLiteral("Baseball"), QStringLiteral("Tennis"), QStringLiteral("Formula 1"),
          QStringLiteral("UFC"), QStringLiteral("Golf"), QStringLiteral("Swimming"),
          QStringLiteral("Volleyball"), QStringLiteral("Track & Field"), QStringLiteral("Esports")}},
        {QStringLiteral("Hobbies"),
         QStringLiteral("paintpalette"),
         {QStringLiteral("Video games"), QStringLiteral("Cooking"), QStringLiteral("Photography"),
          QStringLiteral("Hiking"), QStringLiteral("Painting"), QStringLiteral("Music production"),
          QStringLiteral("Reading"), QStringLiteral("Gym & fitness"), QStringLiteral("Gardening"),
          QStringLiteral("Coding"), QStringLiteral("Travel"), QStringLiteral("Board games")}},
    };
    return categories;
}

QStringList InterestCatalog::allNames() {
    QStringList names;
    for (const Category& category : all())
        for (const QString& item : category.items)
            if (!names.contains(item))
                names << item;
    return names;
}

bool InterestCatalog::contains(const QString& name) {
    for (const Category& category : all())
        if (category.items.contains(name))
            return true;
    return false;
}

QList<UserInterest> InterestCatalog::profileInterests(const QSet<QString>& selection) {
    QList<UserInterest> interests;
    for (const Category& category : all()) {
        UserInterest entry{category.name, {}};
        for (const QString& item : category.items)
            if (selection.contains(item))
                entry.items << item;
        if (!entry.items.isEmpty())
            interests << entry;
    }
    return interests;
}

QSet<QString> InterestCatalog::selection(const QList<UserInterest>& profileInterests) {
    QSet<QString> names;
    for (const UserInterest& entry : profileInterests)
        for (const QString& item : entry.items)
            if (contains(item))
                names.insert(item);
    return names;
}

QVariantList InterestCatalog::categoryList() const {
    QVariantList list;
    for (const Category& category : all())
        list << QVariantMap{{QStringLiteral("name"), category.name},
                            {QStringLiteral("symbol"), category.symbol},
                            {QStringLiteral("items"), category.items}};
    return list;
}
