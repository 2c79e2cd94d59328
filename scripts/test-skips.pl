#!/usr/bin/perl
# The tests that skipped, from GoogleTest's XML results (--gtest_output=xml)
# and ctest's JUnit results (--output-junit): one line "TEST: REASON" each.
#   scripts/test-skips.pl RESULTS.xml...
use strict;
use warnings;

sub unescape {
  my ($s) = @_;
  $s =~ s/&#x([0-9A-Fa-f]+);/chr(hex $1)/ge;
  $s =~ s/&#(\d+);/chr($1)/ge;
  $s =~ s/&lt;/</g;
  $s =~ s/&gt;/>/g;
  $s =~ s/&quot;/"/g;
  $s =~ s/&apos;/'/g;
  $s =~ s/&amp;/&/g;
  return $s;
}

# The last line of a text that says something.
sub last_line {
  my @lines = grep { /\S/ } split /\n/, $_[0];
  return @lines ? $lines[-1] : '';
}

for my $file (@ARGV) {
  open(my $in, '<', $file) or die "$file: $!\n";
  my $xml = do { local $/; <$in> };
  close $in;
  while ($xml =~ m{<testcase\b([^>]*?)(/>|>(.*?)</testcase>)}gs) {
    my ($attributes, $body) = ($1, $3 // '');
    my ($name) = $attributes =~ /\bname="([^"]*)"/;
    my ($class) = $attributes =~ /\bclassname="([^"]*)"/;
    my $test = defined $class && $class ne $name ? "$class.$name" : $name;
    my ($output) = $body =~ m{<system-out>(.*?)</system-out>}s;
    $output = unescape($output // '');
    if ($body =~ /<skipped message="([^"]*)"/) {
      my $message = unescape($1);
      my $reason;
      if ($output =~ /: Skipped\n(.*)/) { $reason = $1 }                     # GTEST_SKIP under ctest
      elsif ($message =~ /^SKIP_RETURN_CODE/) { $reason = last_line($output) }  # exit code 77
      else { $reason = last_line($message) }                                # GoogleTest's XML
      print "$test: ", ($reason ne '' ? $reason : 'skipped'), "\n";
    }
  }
}
