// The ids of the program's string table (resources/strings.txt).
#pragma once

// The application macro list: "NAME=value;NAME=value".
constexpr unsigned kIdsApplicationMacros = 1;
// The About entry of the main dialog's system menu.
constexpr unsigned kIdsAboutBox = 101;
// The maker's MAC prefix, the initial serial-number text.
constexpr unsigned kIdsSerialNumberPrefix = 150;
constexpr unsigned kIdsInvalidSerialNumber = 202;
constexpr unsigned kIdsInvalidAddress = 203;
constexpr unsigned kIdsBrowserNotLaunched = 204;
// Outcomes of an assignment; IPADDRESS and SERIALNBR are filled in.
constexpr unsigned kIdsAssignSucceeded = 205;
constexpr unsigned kIdsAddressInUse = 206;
constexpr unsigned kIdsAssignFailed = 207;
// The address did not answer before its home page was opened.
constexpr unsigned kIdsNoDeviceAtAddress = 208;
// Address field checks; IPADDRESS is filled in.
constexpr unsigned kIdsAddressNotOnLocalSubnet = 209;
constexpr unsigned kIdsAddressNotValid = 211;
// Outcomes that end an assignment before it began: another run holds the
// address (IPADDRESS), or its neighbour entry could not be added (IPADDRESS,
// SERIALNBR).
constexpr unsigned kIdsAddressHeld = 212;
constexpr unsigned kIdsNeighbourEntryFailed = 213;
constexpr unsigned kIdsSocketsNotStarted = 230;
// Start-up on a system with capabilities: RIGHTS names the missing ones,
// PROGRAM is the path of the program to grant them to.
constexpr unsigned kIdsNetworkRightsMissing = 240;
// Captions of the third button: idle, and while an assignment runs.
constexpr unsigned kIdsExit = 250;
constexpr unsigned kIdsCancel = 251;
// The application title, the caption of every message box.
constexpr unsigned kIdsAppTitle = 57344;
