// Where the user's data lives: one tree under the per-user data directory
// holding the skin images, the MIDI learn mappings, the three libraries and
// the manual. Paths use "/" only; folders end with "/", library roots don't.
// Nothing here creates a folder except CreateFolderWithParents, which the
// libraries call when they save.
// Thread: any; the process-wide table is guarded.
#pragma once

#include <string>

struct DataFolders {
  std::string root;           // "<A>/Tarvenn Audio/Zelvane/"
  std::string images;         // root + "Data/Images/"
  std::string data;           // root + "Data/"
  std::string midiLearnFile;  // data + "MidiLearnMappings.dat"
  std::string patches;        // root + "Patches"
  std::string waveforms;      // root + "Waveforms"
  std::string timeline;       // root + "Timeline"
  std::string manual;         // root + "Zelvane 1.0 User Manual.pdf"
};

// The per-user data directory without a trailing "/": $XDG_DATA_HOME when it
// is an absolute path, else $HOME/.local/share (the password database's home
// when HOME is unset). Empty when no home can be found; the tree then starts
// at "/Tarvenn Audio/".
std::string GetAppDataFolder();

// The tree below a given data directory.
DataFolders MakeDataFolders(const std::string& appDataFolder);

// Computes the tree from GetAppDataFolder and stores it in the process-wide
// table, which every instance fills with the same values when it is made.
DataFolders InitDataFolders();
// The table's contents; computed on first use if no instance has filled it.
DataFolders CurrentDataFolders();

// The manual's path, from the data directory as it is now (asked afresh on
// every use, so a changed environment is honoured without a restart).
std::string ManualPath();

// Creates path and every missing parent, outermost first, private to the
// user (0700). True when path is a folder afterwards (an existing one too).
bool CreateFolderWithParents(const std::string& path);
