#include "operation_cases.h"

#include "sample_folders.h"
#include "text/text_codec.h"

namespace tolvashu::testing {

void MakeFixture(const ScratchFolder& scratch) {
  MakeSamplePackage(scratch, "package");
  MakeSampleGame(scratch, "game");
  scratch.MakeFolder("package/maps");
  scratch.MakeFolder("game/maps");
  scratch.MakeFolder("package/art/old");  // two levels the game lacks: made by the transfer
  scratch.MakeFolder("game/Backup/nationDATA");
  scratch.MakeFolder("game/Backup/pastDATA");
  for (const char* name : {"namedata1.dat", "PersonalName.dat", "sound.wav", "kosei05.dat", "TaizinNow.dat",
                           "maps/east.jpg", "art/old/north.jpg"}) {
    scratch.WriteFile(std::string("package/") + name, std::string("package ") + name);
  }
  for (const char* name : {"namedata2.dat", "PersonalName1.dat", "touroku.dat", "Habatuzu.DAT", "TaizinNow.dat",
                           "yazirusi.dat", "maps/east.jpg", "Backup/MAINDATA.DAT", "Backup/年表1.txt",
                           "Backup/Sison.dat", "Backup/namedata1.dat", "Backup/nationDATA/nation01.dat",
                           "Backup/pastDATA/past01.dat"}) {
    scratch.WriteFile(std::string("game/") + name, std::string("game ") + name);
  }
  scratch.WriteFile("package/vumoworld.dat",
                    EncodeCp932("世界名: 見本の世界\r\n背景: haikei01.jpg, 地図: maps\\east.jpg\r\n"
                                "北: art\\old\\north.jpg\r\n"
                                "欠番: nothere.dat\r\n外: ..\\up.dat\r\n")
                            .value() +
                        "x: bad\xFF.txt\r\nnocolon.gif\r\n");
  // The player's own files that merely start with our mark.
  scratch.WriteFile("game/.~tolvashu-my notes.tmp", "the player's notes");
  scratch.WriteFile("game/nationDATA/.~tolvashu-x.tmp", "the player's");
  SetOneTime(scratch, "");
}

void MakeFixtureWithCaseTwins(const ScratchFolder& scratch) {
  MakeFixture(scratch);
  scratch.WriteFile("game/maindata.dat", "the player's twin of MAINDATA.DAT");
  scratch.WriteFile("game/nationDATA/NATION01.DAT", "the player's twin of nation01.dat");
  SetOneTime(scratch, "");
}

}  // namespace tolvashu::testing
