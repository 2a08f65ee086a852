#pragma once

#include <QString>

// Study notes for song tests: a few paragraphs that define their terms the way class notes do.
inline QString cellTransportNotes() {
    return QStringLiteral(
        "# Cell transport\n\n"
        "Osmosis is the movement of water across a membrane from a dilute solution to a concentrated one. "
        "Plant roots take up water by osmosis.\n\n"
        "Diffusion is the net spread of particles from where they are crowded to where they are sparse. "
        "Oxygen enters the blood by diffusion.\n\n"
        "Active transport is the pumping of molecules against their concentration gradient using energy "
        "from ATP. Root hair cells use active transport to take up minerals.\n\n"
        "A membrane is a thin layer of lipids and proteins that separates the inside of a cell from its "
        "surroundings.\n\n"
        "Turgor pressure is the push of water in the central vacuole against the cell wall of a plant. "
        "Wilting plants have lost their turgor pressure.\n\n"
        "Mitochondria are the organelles that release energy from glucose in respiration.\n");
}
