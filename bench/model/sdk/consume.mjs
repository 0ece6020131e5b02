// Consumes one streamed answer from the relay with the SDK's messages.stream helper and
// prints the elapsed milliseconds and the number of text characters received.
// Usage: node consume.mjs BASE_URL
import Anthropic from "@anthropic-ai/sdk";

const client = new Anthropic({ baseURL: process.argv[2], apiKey: "bench", maxRetries: 0 });
const start = performance.now();
let characters = 0;
const stream = client.messages.stream({
  model: "bench",
  max_tokens: 64000,
  messages: [{ role: "user", content: "s" }],
});
stream.on("text", (text) => { characters += text.length; });
await stream.finalMessage();
console.log(`${(performance.now() - start).toFixed(1)} ${characters}`);
