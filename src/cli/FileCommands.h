#pragma once
// The commands on whole data files, and the generator: create, rekey, check and generate.
class ParsedCommand;
class SecretPrompt;

void runCreate(const ParsedCommand& command, SecretPrompt& prompt);
void runRekey(const ParsedCommand& command, SecretPrompt& prompt);
void runCheck(const ParsedCommand& command, SecretPrompt& prompt);
void runGenerate(const ParsedCommand& command, SecretPrompt& prompt);
