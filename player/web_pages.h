// The product site the player asks for its version and links to, and the pages it opens in
// the user's default browser.
//
//   OpenWebPage(ProductSite() + "/install.html");
//   std::string version = http.Get(ProductSite() + "/versionplus.txt");
//
// Tests point the site at the loopback server and catch the pages instead of opening them.
#pragma once

#include <functional>
#include <string>

// The product site's address, without a final '/'; its pages are appended to it.
inline constexpr char kProductSite[] = "http://efirushka.example";
// The outside page that takes donations for the author.
inline constexpr char kDonationPage[] = "https://donate.example/efirushka";
// Outside short-link pages the about box keeps handlers for.
inline constexpr const char* kShortLinks[] = {
    "https://short.example/efir1", "https://short.example/efir2", "https://short.example/efir3",
    "https://short.example/efir4"};

// The product site in use: kProductSite unless a test has set another.
std::string ProductSite();
// For tests: the site to use instead ("" restores kProductSite).
void SetProductSiteForTests(const std::string& address);

// Opens the address in the default browser (the shell's "open"); a failure is not reported,
// as the player goes on the same whether the browser came up or not.
void OpenWebPage(const std::string& Url);
// For tests: receives the addresses instead of the browser (empty restores the browser).
void SetWebPageOpenerForTests(std::function<void(const std::string& Url)> opener);
