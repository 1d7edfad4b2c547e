#pragma once
// import and export: CSV files of other vaults and browsers into a data file, and the data file out as
// Lockwell CSV.
class ParsedCommand;
class SecretPrompt;

void runImport(const ParsedCommand& command, SecretPrompt& prompt);
void runExport(const ParsedCommand& command, SecretPrompt& prompt);
