// The parser host's answers to a document that asks its container.
#include "download/web_parser.h"

#include <gtest/gtest.h>
#include <mshtmdid.h>
#include <olectl.h>

namespace {

TEST(WebParser, AnswersTheDownloadControlAmbientOnly) {
  TWebParser parser(nullptr);
  // The platform's download-control flags of the eight default members.
  EXPECT_EQ(parser.DownloadOptionsValue(), 0xFF0u);
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none = {};
  ASSERT_EQ(parser.Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                          &result, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(result.vt, VT_I4);
  EXPECT_EQ(result.lVal, 0xFF0);

  parser.DownloadOptions.Exclude(TDownloadControlOption::DownloadImages);
  parser.DownloadOptions.Include(TDownloadControlOption::WorkOffline);
  ASSERT_EQ(parser.Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                          &result, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(static_cast<uint32_t>(result.lVal), 0x80000FE0u);
  EXPECT_EQ(parser.Invoke(DISPID_AMBIENT_USERAGENT, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                          &result, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
}

TEST(WebParser, ClientSiteAnswers) {
  TWebParser parser(nullptr);
  IMoniker* moniker = reinterpret_cast<IMoniker*>(1);
  IOleContainer* container = reinterpret_cast<IOleContainer*>(1);
  EXPECT_EQ(parser.GetMoniker(0, 0, &moniker), E_NOTIMPL);
  EXPECT_EQ(moniker, nullptr);
  EXPECT_EQ(parser.GetContainer(&container), E_NOTIMPL);
  EXPECT_EQ(container, nullptr);
  EXPECT_EQ(parser.SaveObject(), E_NOTIMPL);
  EXPECT_EQ(parser.OnChanged(DISPID_READYSTATE), S_OK);
  EXPECT_EQ(parser.OnRequestEdit(0), E_NOTIMPL);
  IUnknown* sink = nullptr;
  EXPECT_EQ(parser.QueryInterface(IID_IPropertyNotifySink, reinterpret_cast<void**>(&sink)), S_OK);
  EXPECT_EQ(sink, static_cast<IPropertyNotifySink*>(&parser));
}

}  // namespace
