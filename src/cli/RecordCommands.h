#pragma once
// The commands on the records of a data file: ls, show, clip, add, edit and rm.
class ParsedCommand;
class SecretPrompt;

void runLs(const ParsedCommand& command, SecretPrompt& prompt);
void runShow(const ParsedCommand& command, SecretPrompt& prompt);
void runClip(const ParsedCommand& command, SecretPrompt& prompt);
void runAdd(const ParsedCommand& command, SecretPrompt& prompt);
void runEdit(const ParsedCommand& command, SecretPrompt& prompt);
void runRm(const ParsedCommand& command, SecretPrompt& prompt);
