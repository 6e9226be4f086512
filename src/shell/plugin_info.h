#pragma once
// The record in which the host asks the plug-in to describe itself.

struct PlugInInfoRecord
{
    char name[80];
    char vendor[80];
    char version[80];
    char description[81]; // the host's field may be wider; the plug-in writes 81 bytes
};

// Writes the four texts with their terminators and leaves every other byte as the host gave it.
void FillPlugInInfo(PlugInInfoRecord* info);

// The caption of every message box the plug-in shows.
constexpr char kMessageCaption[] = "ブレンロウプラグイン";
